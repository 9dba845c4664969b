#include "code_signing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "browser_shot.h"
#include "text.h"

namespace zarvane {
namespace {

bool IsPkcs12(const std::string& path) {
  const std::string::size_type dot = path.find_last_of('.');
  return dot != std::string::npos &&
         (EqualsIgnoreCase(path.substr(dot), ".p12") || EqualsIgnoreCase(path.substr(dot), ".pfx"));
}

// The value after "<label>:" on the first line that holds the label, blanks trimmed.
std::string ValueAfter(const std::string& text, const std::string& label) {
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const std::string::size_type at = line.find(label);
    if (at == std::string::npos) continue;
    const std::string::size_type colon = line.find(':', at + label.size());
    if (colon != std::string::npos) return Trim(line.substr(colon + 1));
  }
  return "";
}

}  // namespace

std::string SignInstaller(const SigningOptions& options, const std::string& input,
                          const std::string& output, const std::string& scratch) {
  if (FindProgram("osslsigncode").empty())
    return "signing needs osslsigncode (Debian package osslsigncode), which is not installed";
  std::vector<std::string> args = {"osslsigncode", "sign", "-h", "sha256"};
  if (IsPkcs12(options.certificate)) {
    args.insert(args.end(), {"-pkcs12", options.certificate});
  } else {
    if (options.key.empty()) return "--sign-cert with a PEM certificate needs --sign-key";
    args.insert(args.end(), {"-certs", options.certificate, "-key", options.key});
  }
  std::string passwordFile = options.passwordFile;
  const char* password = std::getenv(kSigningPasswordVariable);
  if (passwordFile.empty() && password && *password) {
    // Through a file of the run's private folder: a command line is visible to every user.
    passwordFile = scratch + "password";
    std::ofstream file(passwordFile, std::ios::binary);
    file << password;
    if (!file.flush()) return "the password cannot be handed to osslsigncode";
  }
  if (!passwordFile.empty()) args.insert(args.end(), {"-readpass", passwordFile});
  if (!options.timestampUrl.empty()) args.insert(args.end(), {"-ts", options.timestampUrl});
  args.insert(args.end(), {"-in", input, "-out", output});
  std::string said;
  const bool signedWell = RunTool(args, said);
  if (passwordFile != options.passwordFile) std::remove(passwordFile.c_str());
  if (signedWell) return "";
  std::string why = Trim(said);
  const std::string::size_type cut = why.find('\n');
  if (cut != std::string::npos) why = why.substr(0, cut);
  return "osslsigncode could not sign it" + (why.empty() ? std::string() : ": " + why);
}

SignatureReport CheckSignature(const std::string& path, bool isSigned) {
  SignatureReport report;
  report.isSigned = isSigned;
  if (!isSigned) {
    report.text = "not signed";
    return report;
  }
  std::string said;
  if (FindProgram("osslsigncode").empty()) {
    report.text = "signed (not checked: osslsigncode is not installed)";
    return report;
  }
  const bool trusted = RunTool({"osslsigncode", "verify", "-in", path}, said);
  const std::string signer = ValueAfter(said.substr(std::min(said.size(), said.find("Signer"))), "Subject");
  const std::string current = ValueAfter(said, "Current message digest");
  const std::string calculated = ValueAfter(said, "Calculated message digest");
  report.text = "signed by " + (signer.empty() ? std::string("an unknown signer") : signer);
  if (current.empty() || calculated.empty() || current.substr(0, current.find(' ')) !=
                                                   calculated.substr(0, calculated.find(' '))) {
    report.damaged = true;
    report.text += ", but the file changed after it was signed";
  } else {
    report.text += "; the signature covers the file as it is";
    if (!trusted) report.text += " (its certificate is not one this machine trusts)";
  }
  return report;
}

}  // namespace zarvane
