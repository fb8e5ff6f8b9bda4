#include "platform/rpc_stream.h"

#include <errno.h>
#include <netinet/in.h>
#include <poll.h>
#include <rpc/rpc.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

namespace zq::platform {

// ---- record reassembly ---------------------------------------------------------

RecordReader::~RecordReader() {
  std::free(buffer_);
}

void RecordReader::reset() {
  // A large buffer is not kept between records.
  if (capacity_ > (1u << 20)) {
    std::free(buffer_);
    buffer_ = nullptr;
    capacity_ = 0;
  }
  size_ = wire_ = markHave_ = fragmentLeft_ = 0;
  inFragment_ = lastFragment_ = done_ = false;
}

bool RecordReader::reserve(size_t extra) {
  if (capacity_ - size_ >= extra) return true;
  size_t want = std::max<size_t>(capacity_ ? capacity_ * 2 : 4096, size_ + extra);
  want = std::min(want, std::max(max_, size_ + extra));
  auto* grown = static_cast<unsigned char*>(std::realloc(buffer_, want));
  if (!grown) return false;
  buffer_ = grown;
  capacity_ = want;
  return true;
}

size_t RecordReader::feed(const unsigned char* data, size_t size, State& state) {
  size_t used = 0;
  state = State::needMore;
  if (done_) {
    state = State::complete;
    return 0;
  }
  while (used < size) {
    if (!inFragment_) {
      const size_t take = std::min(size - used, 4 - markHave_);
      memcpy(mark_ + markHave_, data + used, take);
      markHave_ += take;
      used += take;
      wire_ += take;
      if (markHave_ < 4) break;
      markHave_ = 0;
      const uint32_t mark = (uint32_t{mark_[0]} << 24) | (uint32_t{mark_[1]} << 16) |
                            (uint32_t{mark_[2]} << 8) | mark_[3];
      lastFragment_ = (mark & 0x80000000u) != 0;
      fragmentLeft_ = mark & 0x7FFFFFFFu;
      // Refuse a record that cannot fit before reading (or allocating) it.
      if (wire_ > max_ || fragmentLeft_ > max_ - wire_) {
        state = State::tooLarge;
        return used;
      }
      inFragment_ = true;
    }
    const size_t take = std::min(size - used, fragmentLeft_);
    if (take) {
      if (!reserve(take)) {
        state = State::tooLarge;  // no memory for it: as good as too large
        return used;
      }
      memcpy(buffer_ + size_, data + used, take);
      size_ += take;
      used += take;
      wire_ += take;
      fragmentLeft_ -= take;
    }
    if (fragmentLeft_ == 0) {
      inFragment_ = false;
      if (lastFragment_) {
        done_ = true;
        state = State::complete;
        return used;
      }
    }
  }
  return used;
}

// ---- reply header --------------------------------------------------------------

namespace {

struct Cursor {
  const unsigned char* p;
  size_t n, at = 0;
  bool word(uint32_t& v) {
    if (n - at < 4) return false;
    v = (uint32_t{p[at]} << 24) | (uint32_t{p[at + 1]} << 16) | (uint32_t{p[at + 2]} << 8) |
        p[at + 3];
    at += 4;
    return true;
  }
};

}  // namespace

bool parseReplyHead(const unsigned char* data, size_t size, ReplyHead& out) {
  Cursor c{data, size};
  uint32_t type, replyStat;
  out = ReplyHead{};
  if (!c.word(out.xid) || !c.word(type) || type != REPLY || !c.word(replyStat)) return false;
  if (replyStat == MSG_ACCEPTED) {
    uint32_t flavor, length, accept;
    if (!c.word(flavor) || !c.word(length) || length > MAX_AUTH_BYTES) return false;
    const size_t padded = (size_t{length} + 3) & ~size_t{3};
    if (c.n - c.at < padded) return false;
    c.at += padded;
    if (!c.word(accept)) return false;
    switch (accept) {
      case SUCCESS:
        out.status = RPC_SUCCESS;
        out.body = c.at;
        return true;
      case PROG_UNAVAIL:
        out.status = RPC_PROGUNAVAIL;
        return true;
      case PROG_MISMATCH:
        out.status = RPC_PROGVERSMISMATCH;
        return c.word(out.low) && c.word(out.high);
      case PROC_UNAVAIL:
        out.status = RPC_PROCUNAVAIL;
        return true;
      case GARBAGE_ARGS:
        out.status = RPC_CANTDECODEARGS;
        return true;
      case SYSTEM_ERR:
        out.status = RPC_SYSTEMERROR;
        return true;
      default:
        return false;
    }
  }
  if (replyStat == MSG_DENIED) {
    uint32_t reject;
    if (!c.word(reject)) return false;
    if (reject == RPC_MISMATCH) {
      out.status = RPC_VERSMISMATCH;
      return c.word(out.low) && c.word(out.high);
    }
    if (reject == AUTH_ERROR) {
      uint32_t why;
      if (!c.word(why)) return false;
      out.status = RPC_AUTHERROR;
      out.detail = static_cast<int>(why);
      return true;
    }
  }
  return false;
}

// ---- the client ----------------------------------------------------------------

namespace {

int64_t nowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

thread_local uint64_t tBytesReceived = 0;

struct Stream {
  CLIENT client{};
  int fd = -1;
  bool closeFd = true;
  bool broken = false;  // the byte stream lost its place: every call fails
  uint32_t program = 0, version = 0;
  uint32_t xid = 0;
  timeval timeout{25, 0};
  bool timeoutSet = false;
  rpc_err error{};
  int64_t deadline = 0;  // ms, steady clock
  XDR out{};
  RecordReader reader{kDefaultMaxRecord};
  unsigned char in[64 * 1024];
  size_t inAt = 0, inEnd = 0;
  std::mutex lock;  // one call at a time, as the RPC library's clients
};

Stream* streamOf(const CLIENT* c) {
  return static_cast<Stream*>(c->cl_private);
}

int remainingMs(const Stream* s) {
  const int64_t left = s->deadline - nowMs();
  return left <= 0 ? 0 : static_cast<int>(std::min<int64_t>(left, 1 << 30));
}

// Waits for the socket until the deadline; false (status set) when it passed.
bool await(Stream* s, short events) {
  for (;;) {
    pollfd p{s->fd, events, 0};
    const int r = poll(&p, 1, remainingMs(s));
    if (r > 0) return true;
    if (r == 0) {
      s->error.re_status = RPC_TIMEDOUT;
      return false;
    }
    if (errno != EINTR) {
      s->error.re_status = RPC_CANTRECV;
      s->error.re_errno = errno;
      return false;
    }
  }
}

// xdrrec's output: everything is sent before the deadline or the call fails.
int writeOut(void* handle, void* data, int length) {
  Stream* s = static_cast<Stream*>(handle);
  const char* p = static_cast<const char*>(data);
  int left = length;
  // The socket is tried first: it nearly always has room, and a wait
  // before every send would cost a system call per request.
  bool wait = false;
  while (left > 0) {
    if (wait && !await(s, POLLOUT)) {
      if (s->error.re_status == RPC_CANTRECV) s->error.re_status = RPC_CANTSEND;
      return -1;
    }
    const ssize_t n = send(s->fd, p, static_cast<size_t>(left), MSG_NOSIGNAL | MSG_DONTWAIT);
    wait = n < 0 || n < left;
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;  // full: wait
      s->error.re_status = RPC_CANTSEND;
      s->error.re_errno = errno;
      return -1;
    }
    p += n;
    left -= static_cast<int>(n);
  }
  return length;
}

int readNothing(void*, void*, int) {
  return -1;
}

// Reads until a whole record is assembled; false with the status set.
bool readRecord(Stream* s) {
  for (;;) {
    if (s->inAt < s->inEnd) {
      RecordReader::State state;
      s->inAt += s->reader.feed(s->in + s->inAt, s->inEnd - s->inAt, state);
      if (state == RecordReader::State::complete) {
        tBytesReceived += s->reader.recordSize();
        return true;
      }
      if (state == RecordReader::State::tooLarge) {
        s->error.re_status = RPC_CANTDECODERES;
        s->error.re_errno = EMSGSIZE;
        return false;
      }
      continue;
    }
    if (!await(s, POLLIN)) return false;
    const ssize_t n = recv(s->fd, s->in, sizeof s->in, MSG_DONTWAIT);
    if (n == 0) {
      s->error.re_status = RPC_CANTRECV;
      s->error.re_errno = ECONNRESET;
      return false;
    }
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      s->error.re_status = RPC_CANTRECV;
      s->error.re_errno = errno;
      return false;
    }
    s->inAt = 0;
    s->inEnd = static_cast<size_t>(n);
  }
}

using Proc = bool_t (*)(XDR*, void*, u_int);

bool sendCall(Stream* s, rpcproc_t procedure, xdrproc_t encode, void* args) {
  XDR* x = &s->out;
  x->x_op = XDR_ENCODE;
  const int32_t head[10] = {static_cast<int32_t>(s->xid),
                            CALL,
                            2,
                            static_cast<int32_t>(s->program),
                            static_cast<int32_t>(s->version),
                            static_cast<int32_t>(procedure),
                            AUTH_NONE,
                            0,
                            AUTH_NONE,
                            0};
  for (int32_t w : head)
    if (!XDR_PUTINT32(x, &w)) return false;
  if (!reinterpret_cast<Proc>(encode)(x, args, 0)) {
    if (s->error.re_status == RPC_SUCCESS) s->error.re_status = RPC_CANTENCODEARGS;
    return false;
  }
  if (!xdrrec_endofrecord(x, TRUE)) {
    if (s->error.re_status == RPC_SUCCESS) s->error.re_status = RPC_CANTSEND;
    return false;
  }
  return true;
}

clnt_stat streamCall(CLIENT* client, rpcproc_t procedure, xdrproc_t encode, void* args,
                     xdrproc_t decode, void* results, timeval timeout) {
  Stream* s = streamOf(client);
  std::lock_guard<std::mutex> guard(s->lock);
  s->error = rpc_err{};
  if (s->broken) {
    s->error.re_status = RPC_CANTSEND;
    s->error.re_errno = EPIPE;
    return RPC_CANTSEND;
  }
  const timeval t = s->timeoutSet ? s->timeout : timeout;
  s->deadline = nowMs() + int64_t{t.tv_sec} * 1000 + t.tv_usec / 1000;
  s->xid++;
  if (!sendCall(s, procedure, encode, args)) {
    // Part of the record may be out: the stream cannot be trusted again.
    s->broken = true;
    return s->error.re_status;
  }
  // A one-way call (zero time-out) waits for nothing.
  if (t.tv_sec == 0 && t.tv_usec == 0) {
    s->error.re_status = RPC_TIMEDOUT;
    return RPC_TIMEDOUT;
  }
  for (;;) {
    s->reader.reset();
    if (!readRecord(s)) {
      s->broken = true;
      s->reader.reset();
      return s->error.re_status;
    }
    ReplyHead head;
    if (!parseReplyHead(s->reader.record(), s->reader.recordSize(), head)) {
      s->broken = true;
      s->reader.reset();
      s->error.re_status = RPC_CANTDECODERES;
      return RPC_CANTDECODERES;
    }
    if (head.xid != s->xid) continue;  // an old reply: the deadline bounds this
    if (head.status != RPC_SUCCESS) {
      s->error.re_status = static_cast<clnt_stat>(head.status);
      if (head.status == RPC_AUTHERROR) {
        // An authentication status this side does not know is a failure
        // of its own kind, never an out-of-range enumeration value.
        s->error.re_why = head.detail >= AUTH_OK && head.detail <= AUTH_FAILED
                              ? static_cast<auth_stat>(head.detail)
                              : AUTH_FAILED;
      } else if (head.status == RPC_PROGVERSMISMATCH || head.status == RPC_VERSMISMATCH) {
        s->error.re_vers.low = head.low;
        s->error.re_vers.high = head.high;
      }
      s->reader.reset();
      return s->error.re_status;
    }
    XDR x;
    xdrmem_create(
        &x, reinterpret_cast<char*>(const_cast<unsigned char*>(s->reader.record())) + head.body,
        static_cast<u_int>(s->reader.recordSize() - head.body), XDR_DECODE);
    // The results count only when their decoder ran and accepted them.
    const bool decoded = reinterpret_cast<Proc>(decode)(&x, results, 0);
    xdr_destroy(&x);
    s->reader.reset();
    if (!decoded) s->error.re_status = RPC_CANTDECODERES;
    return s->error.re_status;
  }
}

void streamAbort(CLIENT*) {}

void streamGetErr(CLIENT* client, rpc_err* error) {
  *error = streamOf(client)->error;
}

bool_t streamFreeRes(CLIENT*, xdrproc_t proc, void* results) {
  XDR x{};
  x.x_op = XDR_FREE;
  return reinterpret_cast<Proc>(proc)(&x, results, 0);
}

void streamDestroy(CLIENT* client) {
  Stream* s = streamOf(client);
  if (s->closeFd && s->fd >= 0) close(s->fd);
  XDR_DESTROY(&s->out);
  delete s;
}

bool_t streamControl(CLIENT* client, u_int request, void* info) {
  Stream* s = streamOf(client);
  std::lock_guard<std::mutex> guard(s->lock);
  switch (request) {
    case CLSET_FD_CLOSE:
      s->closeFd = true;
      return TRUE;
    case CLSET_FD_NCLOSE:
      s->closeFd = false;
      return TRUE;
  }
  if (!info) return FALSE;
  switch (request) {
    case CLSET_TIMEOUT: {
      const auto* t = static_cast<const timeval*>(info);
      if (t->tv_sec < 0 || t->tv_usec < 0 || t->tv_usec >= 1000000) return FALSE;
      s->timeout = *t;
      s->timeoutSet = true;
      return TRUE;
    }
    case CLGET_TIMEOUT:
      *static_cast<timeval*>(info) = s->timeout;
      return TRUE;
    case CLGET_FD:
      *static_cast<int*>(info) = s->fd;
      return TRUE;
    case CLGET_XID:
      *static_cast<uint32_t*>(info) = s->xid;
      return TRUE;
    case CLGET_VERS:
      *static_cast<uint32_t*>(info) = s->version;
      return TRUE;
    case CLSET_VERS:
      s->version = *static_cast<const uint32_t*>(info);
      return TRUE;
    case CLGET_PROG:
      *static_cast<uint32_t*>(info) = s->program;
      return TRUE;
    case CLSET_PROG:
      s->program = *static_cast<const uint32_t*>(info);
      return TRUE;
    default:
      return FALSE;
  }
}

__rpc_client::clnt_ops kStreamOps = {streamCall,    streamAbort,   streamGetErr,
                                     streamFreeRes, streamDestroy, streamControl};

}  // namespace

__rpc_client* rpcStreamClient(int fd, uint32_t program, uint32_t version) {
  auto* s = new (std::nothrow) Stream;
  if (!s) {
    close(fd);
    rpc_createerr.cf_stat = RPC_SYSTEMERROR;
    rpc_createerr.cf_error.re_errno = ENOMEM;
    return nullptr;
  }
  s->fd = fd;
  s->program = program;
  s->version = version;
  if (getrandom(&s->xid, sizeof s->xid, GRND_NONBLOCK) != sizeof s->xid)
    s->xid = static_cast<uint32_t>(getpid()) ^ static_cast<uint32_t>(nowMs());
  xdrrec_create(&s->out, 64 * 1024, 0, s, readNothing, writeOut);
  s->client.cl_auth = authnone_create();
  s->client.cl_ops = &kStreamOps;
  s->client.cl_private = s;
  return &s->client;
}

uint64_t rpcBytesReceived() {
  return tBytesReceived;
}

bool isStreamClient(const __rpc_client* client) {
  return client && client->cl_ops == &kStreamOps;
}

void rpcSetMaxRecord(__rpc_client* client, size_t bytes) {
  if (!isStreamClient(client)) return;
  Stream* s = streamOf(client);
  std::lock_guard<std::mutex> guard(s->lock);
  s->reader.setMax(bytes);
}

}  // namespace zq::platform
