// Message numbers of the security subsystem.
#pragma once

namespace zq::security {

enum Error : int {
  kOk = 0,
  kErrNoMemory = 300,
  kErrEncryptionRequired = 9001,
  kErrKeyAgreement = 9002,
  kErrHandshake = 9003,
  kErrIntegrity = 9004,
  kErrCrypto = 9005,
  kErrPublicKeyAlgorithm = 9006,
  kErrDataAlgorithm = 9007,
  kErrEncodingEmpty = 9008,
  kErrEncoding = 9009,
  kErrLibraryMissing = 9010,
  kErrLibraryIncomplete = 9011,
  kErrSize = 9014,
  kErrMissingArgument = 9015,
  kErrTextCheck = 9016,
};

}  // namespace zq::security
