// Results of the security routines: 0, or the number of the message that
// reports the failure (frame/message_numbers.h).
#pragma once

#include "frame/message_numbers.h"

namespace zq::security {

inline constexpr int kOk = 0;

// Earlier names of the same messages, kept while the handshake seam and the
// security tests still use them.
inline constexpr int kErrNoMemory = kMsgCopyNoMemory;
inline constexpr int kErrEncryptionRequired = kMsgEncryptionRequired;
inline constexpr int kErrKeyAgreement = kMsgKeyAgreement;
inline constexpr int kErrHandshake = kMsgHandshakeFailed;
inline constexpr int kErrIntegrity = kMsgIntegrityFailed;
inline constexpr int kErrCrypto = kMsgCryptoFailure;
inline constexpr int kErrPublicKeyAlgorithm = kMsgUnsupportedKeyAlgorithm;
inline constexpr int kErrDataAlgorithm = kMsgUnsupportedDataAlgorithm;
inline constexpr int kErrEncodingEmpty = kMsgBadEncodedSize;
inline constexpr int kErrEncoding = kMsgBadEncoding;
inline constexpr int kErrLibraryMissing = kMsgNoEncryptionLibrary;
inline constexpr int kErrLibraryIncomplete = kMsgIncompleteProvider;
inline constexpr int kErrSize = kMsgBadProtectedSize;
inline constexpr int kErrMissingArgument = kMsgProtectArgumentMissing;
inline constexpr int kErrTextCheck = kMsgProtectedTextCheck;

}  // namespace zq::security
