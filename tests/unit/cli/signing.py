#!/usr/bin/env python3
"""Signed installers as an author makes them on Linux: the demo built with --sign-cert (PEM, and
PKCS#12 with its password in the environment) is one osslsigncode accepts and zarvane-cli reads,
lists and verifies; a byte changed after signing is damage; without osslsigncode the build fails
and the old output stays.

usage: signing.py ZARVANE_CLI DEMO_FOLDER
"""
import os
import shutil
import subprocess
import sys
import tempfile

CLI, DEMO = sys.argv[1:3]
failures = []


def check(ok, what, detail=""):
    if not ok:
        failures.append(what)
        print("FAIL:", what, detail)


def run(*args, env=None):
    return subprocess.run(list(args), capture_output=True, text=True, timeout=240, env=env)


if not shutil.which("osslsigncode") or not shutil.which("openssl"):
    print("osslsigncode or openssl missing: skipped")
    sys.exit(77)

work = tempfile.mkdtemp(prefix="zarvane-signing-")
try:
    cert, key, p12 = (os.path.join(work, n) for n in ("cert.pem", "key.pem", "signer.p12"))
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
        "-days", "30", "-subj", "/CN=Zarvane Test Signer")
    run("openssl", "pkcs12", "-export", "-in", cert, "-inkey", key, "-out", p12,
        "-passout", "pass:s3cret")
    project = os.path.join(DEMO, "demo.zvp")
    out = os.path.join(work, "Demo Setup.exe")

    built = run(CLI, "build", project, "-o", out, "--sign-cert", cert, "--sign-key", key)
    check(built.returncode == 0, "PEM: built and signed", built.stderr)
    accepted = run("osslsigncode", "verify", "-CAfile", cert, "-in", out)
    check(accepted.returncode == 0, "PEM: osslsigncode accepts the signature", accepted.stdout[-300:])
    verified = run(CLI, "verify", out)
    check(verified.returncode == 0, "a signed installer verifies whole", verified.stdout)
    check("signature\tsigned by /CN=Zarvane Test Signer; the signature covers the file as it is"
          in verified.stdout, "verify names the signer", verified.stdout)
    check("program\tthis version's" in verified.stdout, "the signed program is this version's")
    listed = run(CLI, "list", out)
    check(listed.returncode == 0 and "clock.swf" in listed.stdout, "a signed installer lists")

    # A byte of the payload changed after signing: the signature and the member both say so.
    with open(out, "rb") as f:
        blob = bytearray(f.read())
    at = len(blob) // 2 + 4096
    blob[at] ^= 0x55
    damaged = os.path.join(work, "damaged.exe")
    with open(damaged, "wb") as f:
        f.write(blob)
    verified = run(CLI, "verify", damaged)
    check(verified.returncode == 1, "a byte changed after signing: exit code 1")
    check("changed after it was signed" in verified.stdout + verified.stderr,
          "  said of the signature", verified.stdout)

    env = dict(os.environ, ZARVANE_SIGN_PASSWORD="s3cret")
    p12out = os.path.join(work, "p12.exe")
    built = run(CLI, "build", project, "-o", p12out, "--sign-cert", p12, env=env)
    check(built.returncode == 0, "PKCS#12, password from the environment: built", built.stderr)
    check(run("osslsigncode", "verify", "-CAfile", cert, "-in", p12out).returncode == 0,
          "  osslsigncode accepts it")

    # Without osslsigncode: a clear failure, the old output as it was.
    with open(out, "wb") as f:
        f.write(b"old output")
    bare = dict(os.environ, PATH=os.path.join(work, "nowhere"))
    built = run(os.path.abspath(CLI), "build", project, "-o", out, "--sign-cert", cert,
                "--sign-key", key, env=bare)
    check(built.returncode == 1 and "osslsigncode" in built.stderr,
          "without osslsigncode: exit code 1, and says why", built.stderr)
    with open(out, "rb") as f:
        check(f.read() == b"old output", "  the old output stays")
    usage = run(CLI, "build", project, "-o", out, "--sign-key", key)
    check(usage.returncode == 2, "--sign-key without --sign-cert: a usage error")
finally:
    shutil.rmtree(work, ignore_errors=True)

print("%d failure(s)" % len(failures) if failures else "all checks passed")
sys.exit(1 if failures else 0)
