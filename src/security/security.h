// What security offers the layers above it: the provider and its lifecycle
// per context, the key exchange and the envelope, password and text
// protection, Base64, the crypto trace. The wire description of the
// envelope records is security/describe_envelope.h. Other subsystems include
// these two headers only.
#pragma once

#include "security/base64.h"
#include "security/buffer.h"
#include "security/envelope.h"
#include "security/envelope_call.h"
#include "security/errors.h"
#include "security/handshake.h"
#include "security/handshake_seam.h"
#include "security/key_material.h"
#include "security/lifecycle.h"
#include "security/password.h"
#include "security/protection.h"
#include "security/provider.h"
#include "security/scrambler.h"
#include "security/trace.h"
