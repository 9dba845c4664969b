#!/usr/bin/env python3
"""Two builds of different projects at the same time, sharing one temporary folder, round after
round: each installer must hold exactly what its own project's build alone gives, member by
member, and the temporary folder must be left as it was.

usage: parallel_builds.py ZARVANE_CLI DEMO_FOLDER
"""
import os
import shutil
import subprocess
import sys
import tempfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from archive_interop import parse  # noqa: E402

ROUNDS = 20


def members(installer):
    blob = open(installer, "rb").read()
    result = []
    for offset, usize, csize, name in parse(blob)[0]:
        plain = zlib.decompress(blob[offset:offset + csize])
        assert len(plain) == usize, name
        result.append((name, plain))
    return result


def make_projects(demo, work):
    """The demo as it is, and a second wallpaper with its own name, movie and resources."""
    alpha = os.path.join(work, "alpha")
    beta = os.path.join(work, "beta")
    shutil.copytree(demo, alpha)
    shutil.copytree(demo, beta)
    with open(os.path.join(beta, "beta.swf"), "wb") as f:
        f.write(open(os.path.join(demo, "clock.swf"), "rb").read() + b"beta")
    with open(os.path.join(beta, "resources", "greeting.txt"), "w") as f:
        f.write("Hello from the other wallpaper\n")
    text = open(os.path.join(demo, "demo.zvp"), newline="").read()
    text = text.replace("Name=Demo", "Name=Beta").replace("SWFFile=clock.swf", "SWFFile=beta.swf")
    with open(os.path.join(beta, "demo.zvp"), "w", newline="") as f:
        f.write(text)
    return [os.path.join(alpha, "demo.zvp"), os.path.join(beta, "demo.zvp")]


def build(cli, project, output, env):
    return subprocess.Popen([cli, "build", project, "-o", output], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def main():
    cli, demo = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as work:
        temp = os.path.join(work, "tmp")
        os.mkdir(temp)
        env = dict(os.environ, TMPDIR=temp)
        projects = make_projects(demo, work)
        outputs = [os.path.join(work, "Alpha Setup.exe"), os.path.join(work, "Beta Setup.exe")]

        # What each build gives when it runs alone.
        expected = []
        for project, output in zip(projects, outputs):
            run = build(cli, project, output, env)
            assert run.wait() == 0, run.stderr.read()
            expected.append(members(output))
        assert [n for n, _ in expected[0]] != [n for n, _ in expected[1]]

        failures = []
        for round_ in range(ROUNDS):
            runs = [build(cli, p, o, env) for p, o in zip(projects, outputs)]
            for run, output, wanted in zip(runs, outputs, expected):
                code = run.wait()
                err = run.stderr.read().decode(errors="replace")
                got = members(output) if code == 0 else []
                if code != 0 or got != wanted:
                    differ = [n for (n, a), (_, b) in zip(got, wanted) if a != b]
                    failures.append("round %d, %s: exit %d, members differing %s %s" % (
                        round_, os.path.basename(output), code, differ, err.strip()))
        assert not failures, "\n".join(failures)
        assert os.listdir(temp) == [], os.listdir(temp)
    print("%d rounds of two builds at once: every member as a lone build makes it" % ROUNDS)


if __name__ == "__main__":
    main()
