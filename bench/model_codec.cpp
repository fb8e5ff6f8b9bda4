// The structure codec against rpcgen's routines for the same wire form:
// a 1,000-item field value list of mixed types and a qualification of depth
// 20, encoded to and decoded from a memory stream. Compare each Codec line
// with the Rpcgen line of the same name.
#include <benchmark/benchmark.h>
#include <rpc/rpc.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/context.h"
#include "model/describe_qual.h"

extern "C" {
#include "model_codec_rpcgen.h"
}

namespace {

constexpr int kValues = 1000;
constexpr int kDepth = 20;

// Mixed kinds, the same sequence for both sides.
uint32_t kindOf(int i) {
  static const uint32_t kinds[] = {2, 4, 3, 6, 7, 8, 10, 13, 1, 40};
  return kinds[i % 10];
}
std::string textOf(int i) {
  return "value text " + std::to_string(i);
}

ZQFieldValueList codecValues() {
  ZQFieldValueList l{
      kValues, static_cast<ZQFieldValueStruct*>(ZQCalloc(kValues, sizeof(ZQFieldValueStruct)))};
  for (int i = 0; i < kValues; ++i) {
    ZQFieldValueStruct& fv = l.items[i];
    fv.fieldId = 536870912 + i;
    fv.value.dataType = kindOf(i);
    switch (kindOf(i)) {
      case 3:
        fv.value.u.realValue = i * 0.5;
        break;
      case 4:
        fv.value.u.charValue = zq::dupString(textOf(i).c_str());
        break;
      case 10:
        fv.value.u.decimalValue = zq::dupString("12.50");
        break;
      default:
        fv.value.u.ulongValue = static_cast<uint32_t>(i);
    }
  }
  return l;
}

xfield_value_list rpcgenValues() {
  xfield_value_list l{};
  l.xfield_value_list_len = kValues;
  l.xfield_value_list_val = static_cast<xfield_value*>(calloc(kValues, sizeof(xfield_value)));
  for (int i = 0; i < kValues; ++i) {
    xfield_value& fv = l.xfield_value_list_val[i];
    fv.fieldId = 536870912 + i;
    fv.value.dataType = kindOf(i);
    switch (kindOf(i)) {
      case 3:
        fv.value.xvalue_u.realValue = i * 0.5;
        break;
      case 4:
        fv.value.xvalue_u.charValue = strdup(textOf(i).c_str());
        break;
      case 10:
        fv.value.xvalue_u.decimalValue = strdup("12.50");
        break;
      default:
        fv.value.xvalue_u.ulongValue = static_cast<u_int>(i);
    }
  }
  return l;
}

ZQQualifierStruct* codecRelation(int i) {
  auto* rel = static_cast<ZQRelOpStruct*>(ZQCalloc(1, sizeof(ZQRelOpStruct)));
  rel->operation = 1;
  rel->left.tag = 1;
  rel->left.u.fieldId = 536870912 + i;
  rel->right.tag = 2;
  rel->right.u.value.dataType = 4;
  rel->right.u.value.u.charValue = zq::dupString(textOf(i).c_str());
  auto* q = static_cast<ZQQualifierStruct*>(ZQCalloc(1, sizeof(ZQQualifierStruct)));
  q->operation = 4;
  q->u.relation = rel;
  return q;
}

// AND(AND(...AND(rel, rel)...), rel): depth levels of AND.
ZQQualifierStruct codecQualifier() {
  ZQQualifierStruct* tree = codecRelation(0);
  for (int d = 1; d < kDepth; ++d) {
    auto* q = static_cast<ZQQualifierStruct*>(ZQCalloc(1, sizeof(ZQQualifierStruct)));
    q->operation = 1;
    q->u.andOr.left = tree;
    q->u.andOr.right = codecRelation(d);
    tree = q;
  }
  ZQQualifierStruct top = *tree;
  ZQFree(tree);
  return top;
}

xqualifier* rpcgenRelation(int i) {
  auto* rel = static_cast<xrel_op*>(calloc(1, sizeof(xrel_op)));
  rel->operation = 1;
  rel->left.tag = 1;
  rel->left.xoperand_u.fieldId = 536870912 + i;
  rel->right.tag = 2;
  rel->right.xoperand_u.value.dataType = 4;
  rel->right.xoperand_u.value.xvalue_u.charValue = strdup(textOf(i).c_str());
  auto* q = static_cast<xqualifier*>(calloc(1, sizeof(xqualifier)));
  q->operation = 4;
  q->xqualifier_u.relOp = rel;
  return q;
}

xqualifier rpcgenQualifier() {
  xqualifier* tree = rpcgenRelation(0);
  for (int d = 1; d < kDepth; ++d) {
    auto* q = static_cast<xqualifier*>(calloc(1, sizeof(xqualifier)));
    q->operation = 1;
    q->xqualifier_u.andQual.left = tree;
    q->xqualifier_u.andQual.right = rpcgenRelation(d);
    tree = q;
  }
  xqualifier top = *tree;
  free(tree);
  return top;
}

// A context whose character sets match, as on a connection without conversion.
struct Context {
  Context() : ctx(zq::createContext()) {
    ctx->clientCharset = ctx->serverCharset = 65;
    zq::setCurrentContext(ctx);
  }
  ~Context() { zq::destroyContext(ctx); }
  ZQThreadContext* ctx;
};

struct Buffer {
  std::vector<char> bytes = std::vector<char>(1 << 20);
  XDR xdrs;
  XDR* at(xdr_op op) {
    xdrmem_create(&xdrs, bytes.data(), static_cast<u_int>(bytes.size()), op);
    return &xdrs;
  }
};

// ---- field value list ----

void Codec_EncodeFieldValues(benchmark::State& state) {
  Context context;
  ZQFieldValueList list = codecValues();
  Buffer buf;
  for (auto _ : state) {
    XDR* x = buf.at(XDR_ENCODE);
    if (!zq::model::encodeWith(x, 14, [&](auto& v) { zq::model::describeEntryValues(v, list); }))
      state.SkipWithError("encode failed");
    benchmark::DoNotOptimize(buf.bytes.data());
  }
  FreeZQFieldValueList(&list, 0);
}

void Rpcgen_EncodeFieldValues(benchmark::State& state) {
  xfield_value_list list = rpcgenValues();
  Buffer buf;
  for (auto _ : state) {
    XDR* x = buf.at(XDR_ENCODE);
    if (!xdr_xfield_value_list(x, &list)) state.SkipWithError("encode failed");
    benchmark::DoNotOptimize(buf.bytes.data());
  }
  xdr_free(reinterpret_cast<xdrproc_t>(xdr_xfield_value_list), reinterpret_cast<char*>(&list));
}

void Codec_DecodeFieldValues(benchmark::State& state) {
  Context context;
  ZQFieldValueList list = codecValues();
  Buffer buf;
  zq::model::encodeWith(buf.at(XDR_ENCODE), 14,
                        [&](auto& v) { zq::model::describeEntryValues(v, list); });
  for (auto _ : state) {
    ZQFieldValueList out{};
    if (!zq::model::decodeWith(buf.at(XDR_DECODE), 14,
                               [&](auto& v) { zq::model::describeEntryValues(v, out); }))
      state.SkipWithError("decode failed");
    FreeZQFieldValueList(&out, 0);
  }
  FreeZQFieldValueList(&list, 0);
}

void Rpcgen_DecodeFieldValues(benchmark::State& state) {
  xfield_value_list list = rpcgenValues();
  Buffer buf;
  xdr_xfield_value_list(buf.at(XDR_ENCODE), &list);
  for (auto _ : state) {
    xfield_value_list out{};
    if (!xdr_xfield_value_list(buf.at(XDR_DECODE), &out)) state.SkipWithError("decode failed");
    xdr_free(reinterpret_cast<xdrproc_t>(xdr_xfield_value_list), reinterpret_cast<char*>(&out));
  }
  xdr_free(reinterpret_cast<xdrproc_t>(xdr_xfield_value_list), reinterpret_cast<char*>(&list));
}

// ---- qualification of depth 20 ----

void Codec_EncodeQualifier(benchmark::State& state) {
  Context context;
  ZQQualifierStruct q = codecQualifier();
  Buffer buf;
  for (auto _ : state) {
    if (!zq::model::encode(buf.at(XDR_ENCODE), q, 14)) state.SkipWithError("encode failed");
    benchmark::DoNotOptimize(buf.bytes.data());
  }
  FreeZQQualifierStruct(&q, 0);
}

void Rpcgen_EncodeQualifier(benchmark::State& state) {
  xqualifier q = rpcgenQualifier();
  Buffer buf;
  for (auto _ : state) {
    if (!xdr_xqualifier(buf.at(XDR_ENCODE), &q)) state.SkipWithError("encode failed");
    benchmark::DoNotOptimize(buf.bytes.data());
  }
  xdr_free(reinterpret_cast<xdrproc_t>(xdr_xqualifier), reinterpret_cast<char*>(&q));
}

void Codec_DecodeQualifier(benchmark::State& state) {
  Context context;
  ZQQualifierStruct q = codecQualifier();
  Buffer buf;
  zq::model::encode(buf.at(XDR_ENCODE), q, 14);
  for (auto _ : state) {
    ZQQualifierStruct out;
    if (!zq::model::decode(buf.at(XDR_DECODE), out, 14)) state.SkipWithError("decode failed");
    FreeZQQualifierStruct(&out, 0);
  }
  FreeZQQualifierStruct(&q, 0);
}

void Rpcgen_DecodeQualifier(benchmark::State& state) {
  xqualifier q = rpcgenQualifier();
  Buffer buf;
  xdr_xqualifier(buf.at(XDR_ENCODE), &q);
  for (auto _ : state) {
    xqualifier out{};
    if (!xdr_xqualifier(buf.at(XDR_DECODE), &out)) state.SkipWithError("decode failed");
    xdr_free(reinterpret_cast<xdrproc_t>(xdr_xqualifier), reinterpret_cast<char*>(&out));
  }
  xdr_free(reinterpret_cast<xdrproc_t>(xdr_xqualifier), reinterpret_cast<char*>(&q));
}

// Both sides must write the same bytes, or the comparison means nothing.
bool sameWire() {
  Context context;
  ZQFieldValueList a = codecValues();
  xfield_value_list b = rpcgenValues();
  Buffer x, y;
  XDR* xa = x.at(XDR_ENCODE);
  XDR* xb = y.at(XDR_ENCODE);
  zq::model::encodeWith(xa, 14, [&](auto& v) { zq::model::describeEntryValues(v, a); });
  xdr_xfield_value_list(xb, &b);
  bool same = xdr_getpos(xa) == xdr_getpos(xb) &&
              memcmp(x.bytes.data(), y.bytes.data(), xdr_getpos(xa)) == 0;
  ZQQualifierStruct qa = codecQualifier();
  xqualifier qb = rpcgenQualifier();
  xa = x.at(XDR_ENCODE);
  xb = y.at(XDR_ENCODE);
  zq::model::encode(xa, qa, 14);
  xdr_xqualifier(xb, &qb);
  same = same && xdr_getpos(xa) == xdr_getpos(xb) &&
         memcmp(x.bytes.data(), y.bytes.data(), xdr_getpos(xa)) == 0;
  FreeZQFieldValueList(&a, 0);
  FreeZQQualifierStruct(&qa, 0);
  xdr_free(reinterpret_cast<xdrproc_t>(xdr_xfield_value_list), reinterpret_cast<char*>(&b));
  xdr_free(reinterpret_cast<xdrproc_t>(xdr_xqualifier), reinterpret_cast<char*>(&qb));
  return same;
}

}  // namespace

BENCHMARK(Codec_EncodeFieldValues);
BENCHMARK(Rpcgen_EncodeFieldValues);
BENCHMARK(Codec_DecodeFieldValues);
BENCHMARK(Rpcgen_DecodeFieldValues);
BENCHMARK(Codec_EncodeQualifier);
BENCHMARK(Rpcgen_EncodeQualifier);
BENCHMARK(Codec_DecodeQualifier);
BENCHMARK(Rpcgen_DecodeQualifier);

int main(int argc, char** argv) {
  if (!sameWire()) {
    fprintf(stderr, "the codec and rpcgen write different bytes\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
