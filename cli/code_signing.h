#pragma once
// Authenticode signatures through osslsigncode: signing a finished installer, and checking the
// signature of one. The signature is osslsigncode's; where the payload lies stays ours.
#include <string>
#include <vector>

namespace zarvane {

struct SigningOptions {
  std::string certificate;   // PEM certificate(s), or a PKCS#12 file (.p12, .pfx)
  std::string key;           // PEM private key; none with PKCS#12
  std::string passwordFile;  // the key's password, never on a command line
  std::string timestampUrl;  // optional RFC 3161 time-stamping server
};

// The environment variable that may hold the key's password instead of a file.
constexpr char kSigningPasswordVariable[] = "ZARVANE_SIGN_PASSWORD";

// Signs `input` into the new file `output` (in a private folder `scratch`, which ends in a
// separator). Empty on success, else why not (a phrase for "zarvane-cli build: ").
std::string SignInstaller(const SigningOptions& options, const std::string& input,
                          const std::string& output, const std::string& scratch);

struct SignatureReport {
  bool isSigned = false;
  bool damaged = false;  // the file changed after it was signed
  std::string text;      // for the "signature" line of verify
};

// What the installer's signature says; `isSigned` from the file's header, the rest from
// osslsigncode where it can be run.
SignatureReport CheckSignature(const std::string& path, bool isSigned);

// Runs `args` (args[0] looked up on PATH), its standard output and error into `output`; false
// when it cannot be started or does not exit with 0.
bool RunTool(const std::vector<std::string>& args, std::string& output);

}  // namespace zarvane
