// Fault injection: tests tell the server to misbehave in precise ways so
// that every failure path of the client runs for real.
#pragma once

#include <atomic>
#include <cstdint>

namespace zqserver {

struct Faults {
  // Close the connection without answering the next N calls.
  std::atomic<int> dropNext{0};
  // Sleep this long before answering the next N calls.
  std::atomic<int> delayMs{0};
  std::atomic<int> delayCalls{0};
  // Answer calls of this procedure with error 123 ("not supported") and no
  // results; 0 = none.
  std::atomic<uint32_t> refuseProcedure{0};
  // Answer a settings request that asks for this setting with 123; 0 = none.
  std::atomic<uint32_t> refuseSetting{0};
  // Read the request, then close the connection mid-call, for N calls.
  std::atomic<int> closeMidCall{0};
  // Answer the next N calls with bytes that are no valid reply.
  std::atomic<int> garbleReplies{0};
  // Run the next N calls, then close the connection instead of answering
  // (a reply lost on its way: the client sends the request again).
  std::atomic<int> loseReplies{0};
  // Chunked entry lists that never end (the last-chunk flag stays clear):
  // 1 empty chunks, 2 chunks of about 64 KB, 3 the same with a warning in
  // every chunk.
  std::atomic<int> endlessChunks{0};
  // Answer the next N chunked retrievals (requests that announce a response
  // size) whose result fits one reply as if more were to come, but with no
  // chunk token to ask for it by: a server that lost the rest.
  std::atomic<int> chunksWithoutToken{0};
  // Hand out a new cache id with every reply of a chunked retrieval (a
  // request that announces a response size), as a server may: the session
  // goes on under the new id and the old one is retired.
  std::atomic<bool> renewCacheIdPerChunk{false};

  // A server that claims one version and answers in another: once the next
  // `answerLayoutAfter` calls are answered as they should be, every reply is
  // encoded in the layout of version `answerLayout` (0: none) instead of
  // the request's.
  std::atomic<uint32_t> answerLayout{0};
  std::atomic<int> answerLayoutAfter{0};
  // A server replaced by an older one: calls above this protocol version
  // are answered with a program version mismatch (0: none; 1 refuses every
  // version).
  std::atomic<uint32_t> highestVersion{0};

  // Wire encryption. Each countdown applies to the next N calls it names.
  // Enciphered calls: answer AUTH_REJECTEDCRED (the client renegotiates).
  std::atomic<int> rejectKeys{0};
  std::atomic<bool> rejectKeysAlways{false};
  // Forget every agreed key set before reading an enciphered call.
  std::atomic<int> forgetKeys{0};
  // Answer AUTH_BADCRED (the client turns encryption off), any call but the
  // key exchange.
  std::atomic<int> badCredentials{0};
  // Answer AUTH_TOOWEAK to a call in the clear (the server demands
  // encryption), any call but the key exchange.
  std::atomic<int> demandEncryption{0};
  // Answer procedure 97 with message 91, like a server without encryption.
  std::atomic<bool> unknownEncryptionInfo{false};
  // Change one bit of the next N enciphered answers.
  std::atomic<int> corruptEnvelopes{0};
  // Fail the next N key transfers (procedure 96) with message 9003.
  std::atomic<int> failKeyTransfers{0};

  // What the server saw.
  std::atomic<uint64_t> callsReceived{0};
  std::atomic<uint64_t> callsAnswered{0};
  std::atomic<uint32_t> lastProcedure{0};
  // The wanted-output mask of the last definition get, the changed-parts
  // mask of the last definition set.
  std::atomic<uint32_t> lastWantedMask{0};
  std::atomic<uint32_t> lastChangedMask{0};
  std::atomic<uint32_t> lastVersion{0};
  std::atomic<uint32_t> lastProgram{0};
  std::atomic<int32_t> lastCacheId{0};
  std::atomic<uint32_t> lastTimeout{0};
  // The password of the last group or role request: 0 none, 1 as typed, 2
  // protected under the library's key.
  std::atomic<int> lastListPasswordForm{0};
  // Enciphered calls opened, and calls of the key exchange (95 to 97, not
  // counted in callsReceived) and exchanges completed.
  std::atomic<uint64_t> envelopedCalls{0};
  std::atomic<uint64_t> keyExchangeCalls{0};
  std::atomic<uint64_t> keyExchanges{0};

  void reset() {
    dropNext = 0;
    delayMs = 0;
    delayCalls = 0;
    refuseProcedure = 0;
    refuseSetting = 0;
    closeMidCall = 0;
    garbleReplies = 0;
    loseReplies = 0;
    endlessChunks = 0;
    chunksWithoutToken = 0;
    renewCacheIdPerChunk = false;
    answerLayout = 0;
    answerLayoutAfter = 0;
    highestVersion = 0;
    callsReceived = 0;
    callsAnswered = 0;
    lastProcedure = 0;
    lastWantedMask = 0;
    lastChangedMask = 0;
    lastVersion = 0;
    lastProgram = 0;
    lastCacheId = 0;
    lastTimeout = 0;
    lastListPasswordForm = 0;
    rejectKeys = 0;
    rejectKeysAlways = false;
    forgetKeys = 0;
    badCredentials = 0;
    demandEncryption = 0;
    unknownEncryptionInfo = false;
    corruptEnvelopes = 0;
    failKeyTransfers = 0;
    envelopedCalls = 0;
    keyExchangeCalls = 0;
    keyExchanges = 0;
  }

  // Takes one unit of a countdown; true when the fault applies to this call.
  static bool take(std::atomic<int>& counter) {
    int n = counter.load();
    while (n > 0)
      if (counter.compare_exchange_weak(n, n - 1)) return true;
    return false;
  }
};

}  // namespace zqserver
