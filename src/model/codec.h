// The structure codec: one description per structure, many visitors.
//
// WRITING A DESCRIPTION
//   Each structure is described once, in member order, by a function template
//   in namespace zq::model:
//
//     template <class V>
//     void describe(V& v, ZQSortStruct& s) {
//       v.u32(s.fieldId, "fieldId");
//       v.u32(s.sortOrder, "sortOrder");
//     }
//
//   The same description encodes, decodes, sizes, releases and deep-copies
//   the structure, and prints it in the trace log (src/diag/print_visitor.h).
//   Labels are the trace's own ("   Server:"); a member name ("fieldId")
//   prints as "   Field Id:". Descriptions never test for failure: a visitor
//   that failed ignores the calls that follow.
//   Put descriptions in headers named after what they hold (describe_core.h,
//   describe_qual.h, ...) and include this header.
//
// VISITOR CALLS (the last parameter of each is an optional member label)
//   v.version()                      protocol version being written or read
//   v.withVersion(7, [&]{ ... })     members in another version's form
//   v.u32(x) v.i32(x) v.real(d)      32-bit words, a double
//   v.flag(b)                        a byte travelling as a 4-byte unit
//   v.u32Array(p, n)                 fixed array of n words
//   v.name(buf)                      fixed name, wire width = array width
//   v.name(buf, NameKind::plain)     width by version: 31 in 7, else 255
//   v.name(buf, NameKind::access)    31 up to 11, else 255
//   v.name(ptr, memWidth, wireWidth) any other fixed name
//   v.string(p, max)                 string (kUnbounded: no maximum)
//   v.text(length, p)                counted text (converted, xdr_bytes)
//   v.bytes(size, p)                 opaque bytes, never converted (xdr_bytes)
//   v.byteArray(count, p)            bytes one per 4-byte unit
//   v.chars(buf, memWidth, wireW)    character array, one char per unit
//   v.member(s.inner)                structure held inline
//   v.list(s.count, s.items)         counted list, items by their description
//   v.list(count, items, fn)         ... items by fn(v, item) instead
//   v.pointer(s.node)                optional node (xdr_pointer)
//   v.pointer(s.node, fn)            ... node by fn(v, node)
//   v.ptrList(count, items, fn)      list of owned pointers to items
//   v.unowned(s.member)              travels, but its parent does not own it
//                                    (the left operand of NEGATE)
//   v.tag(s.tag, wireTag, toMemory)  a union tag whose wire value differs
//                                    from memory; returns the wire value
//   v.badTag()                       the tag selects nothing valid: the wire
//                                    visitors fail, free and copy carry on
//   v.fail()                         the wire visitors fail
//   v.suspend(what) / v.resume(what) pseudo-members around unconverted texts
//
//   Free shorthands over these calls (codec_helpers.h):
//   list(v, s)                       a {count, items} structure, label "items"
//   list(v, s, fn)                   ... items by fn(v, item)
//   since(v, N)                      true for version N and later
//   fixedOpaque(v, bytes, label)     fixed opaque data (length a multiple of 4)
//
//   Unions: read the tag with v.u32 (or v.tag), then switch on it; decoding
//   has filled the tag before the switch runs. Versions: plain conditions on
//   v.version(), since(v, N) for members that arrived with version N.
//   Depth: every v.pointer counts one level; decoding refuses more than
//   kMaxDecodeDepth. Per-type exceptions stay next to the
//   description: resetFreed(FreeVisitor&, T&) overloads for the reset rules of
//   the Free family, `if constexpr (V::kPass == Pass::copy)` for copy rules.
//   A branch on the pass decides what Pass::print sees too: the members as
//   memory holds them, usually those that encoding at version 14 writes.
//
// WRITING A VISITOR
//   Implement every call above (see FreeVisitor in visit_mem.h for the
//   smallest one) and a static kPass. Descriptions are found by argument-
//   dependent lookup on the visitor: a visitor outside zq::model needs
//   `using zq::model::describe;` in its namespace.
//
// USING IT
//   encode(xdrs, value, version), decode(xdrs, value, version),
//   encodedSize(value, version) (or size(value, version, out)),
//   release(value), deepCopy(dst, src), and the
//   ...With(fn) forms for records that are not one structure.
//   xdrProc<T>() gives an xdrproc_t for clnt_call; the version and the thread
//   context then come from the CodecScope active on the calling thread.
//   On a memory stream an encoding or decoding holds the rest of the buffer
//   until it returns: call the XDR primitives on that stream before or after
//   it, never from inside a description.
#pragma once

#include <rpc/xdr.h>

#include <optional>
#include <vector>

#include "model/codec_base.h"
#include "model/codec_helpers.h"
#include "model/visit_mem.h"
#include "model/visit_xdr.h"

namespace zq::model {

template <class T>
void DecodeVisitor::unowned(T& s, Label) {
  if (!ok_) return;
  describe(*this, s);
  FreeVisitor release;
  describe(release, s);
  memset(static_cast<void*>(&s), 0, sizeof s);
}

namespace detail {
// Text conversion counters are restored whatever happened in between.
struct CounterGuard {
  explicit CounterGuard(ZQThreadContext* c) : ctx(c) {
    if (ctx) {
      names = ctx->suspendNameConversion;
      texts = ctx->suspendTextConversion;
    }
  }
  ~CounterGuard() {
    if (ctx) {
      ctx->suspendNameConversion = names;
      ctx->suspendTextConversion = texts;
    }
  }
  ZQThreadContext* ctx;
  uint8_t names = 0, texts = 0;
};
}  // namespace detail

// ---- encoding --------------------------------------------------------------------

// fn(visitor) describes what to write.
template <class F>
bool encodeWith(XDR* xdrs, int version, F&& fn, ZQThreadContext* ctx = codecContext()) {
  detail::CounterGuard guard(ctx);
  XdrWriter out(xdrs);
  EncodeVisitor<XdrWriter> v(out, version, ctx);
  fn(v);
  out.finish();
  return v.ok();
}

template <class T>
bool encode(XDR* xdrs, const T& value, int version) {
  return encodeWith(xdrs, version, [&](auto& v) { describe(v, const_cast<T&>(value)); });
}

template <class F>
std::optional<size_t> encodedSizeWith(int version, F&& fn, ZQThreadContext* ctx = codecContext()) {
  detail::CounterGuard guard(ctx);
  CountingSink out;
  EncodeVisitor<CountingSink> v(out, version, ctx);
  fn(v);
  if (!v.ok()) return std::nullopt;
  return out.total();
}

// Bytes the value takes on the wire; nothing when it cannot be encoded.
template <class T>
std::optional<size_t> encodedSize(const T& value, int version) {
  return encodedSizeWith(version, [&](auto& v) { describe(v, const_cast<T&>(value)); });
}

// The same as a yes-or-no with the size in out.
template <class T>
bool size(const T& value, int version, size_t& out) {
  const auto n = encodedSize(value, version);
  if (n) out = *n;
  return n.has_value();
}

// Encodes into a new buffer (tests, envelopes).
template <class T>
bool encodeToBuffer(const T& value, int version, std::vector<char>& out) {
  const auto n = encodedSize(value, version);
  if (!n || *n > 0xFFFFFFF0u) return false;
  out.assign(*n, '\0');
  XDR xdrs;
  xdrmem_create(&xdrs, out.data(), static_cast<u_int>(out.size()), XDR_ENCODE);
  const bool ok = encode(&xdrs, value, version) && xdr_getpos(&xdrs) == out.size();
  xdr_destroy(&xdrs);
  return ok;
}

// ---- decoding --------------------------------------------------------------------

// fn(visitor) describes what to read into caller-zeroed structures.
template <class F>
bool decodeWith(XDR* xdrs, int version, F&& fn, ZQThreadContext* ctx = codecContext()) {
  detail::CounterGuard guard(ctx);
  XdrReader in(xdrs);
  DecodeVisitor v(in, version, ctx);
  fn(v);
  in.finish();
  return v.ok();
}

// Fills value (zeroed first) from the stream. On failure value holds what was
// read so far and is released by its free function.
template <class T>
bool decode(XDR* xdrs, T& value, int version) {
  memset(static_cast<void*>(&value), 0, sizeof value);
  return decodeWith(xdrs, version, [&](auto& v) { describe(v, value); });
}

template <class T>
bool decodeFromBuffer(const void* data, size_t size, T& value, int version) {
  if (size > 0xFFFFFFF0u) return false;
  XDR xdrs;
  // Decoding never writes to the buffer.
  xdrmem_create(&xdrs, static_cast<char*>(const_cast<void*>(data)), static_cast<u_int>(size),
                XDR_DECODE);
  const bool ok = decode(&xdrs, value, version);
  xdr_destroy(&xdrs);
  return ok;
}

// ---- release and copy --------------------------------------------------------------

// Releases what value owns and applies its reset rule; value stays.
template <class T>
void release(T& value) {
  FreeVisitor v;
  v.member(value);
}

// The structure pointer lists ({count, items} of pointers to structures the
// list does not own): releases what each item owns and the array, not the
// items' blocks; the list is left empty.
template <class L>
void releasePointedContents(L& list) {
  if (list.count && list.items) {
    for (uint32_t i = 0; i < list.count; ++i)
      if (list.items[i]) release(*list.items[i]);
    freeBlock(list.items);
  }
  list.count = 0;
  list.items = nullptr;
}

// Deep copy of src into dst (treated as uninitialized). On memory exhaustion
// dst is left zeroed and false returned.
template <class T, class F>
bool deepCopyWith(T& dst, const T& src, F&& fn) {
  if (static_cast<const void*>(&dst) == static_cast<const void*>(&src)) return true;
  memcpy(static_cast<void*>(&dst), &src, sizeof(T));
  CopyVisitor v;
  fn(v, dst);
  if (v.ok()) return true;
  FreeVisitor r;
  fn(r, dst);
  memset(static_cast<void*>(&dst), 0, sizeof(T));
  return false;
}

template <class T>
bool deepCopy(T& dst, const T& src) {
  return deepCopyWith(dst, src, [](auto& v, T& s) { describe(v, s); });
}

// ---- the RPC library's entry point -------------------------------------------------

template <class T>
bool_t xdrAdapter(XDR* xdrs, void* object, u_int) {
  if (!object) return FALSE;
  T& value = *static_cast<T*>(object);
  switch (xdrs->x_op) {
    case XDR_ENCODE:
      return encode(xdrs, value, codecVersion()) ? TRUE : FALSE;
    case XDR_DECODE:
      return decode(xdrs, value, codecVersion()) ? TRUE : FALSE;
    case XDR_FREE:
      release(value);
      return TRUE;
  }
  return FALSE;
}

// An xdrproc_t for records of type T (clnt_call, clnt_freeres).
template <class T>
xdrproc_t xdrProc() {
  return reinterpret_cast<xdrproc_t>(&xdrAdapter<T>);
}

}  // namespace zq::model
