"""Headless Chromium over its DevTools pipe, started as a live-wallpaper program starts its
browser: the page from file://, without --allow-file-access-from-files, no network."""
import base64
import json
import os
import select
import subprocess


# The preview's own check (cli/browser_shot_posix.cpp): "played" once the whole movie has
# played a while and drawn, else the text of the player's failure panel.
MOVIE_PLAYED = """new Promise(done => { const poll = () => {
 const player = document.querySelector('ruffle-object, ruffle-embed');
 const panic = player && player.shadowRoot && player.shadowRoot.querySelector('#panic');
 if (panic) done((panic.querySelector('#panic-body') || panic).innerText
   .replace(/\\s+/g, ' ').trim());
 else if (player && player.readyState === 2 && player.isPlaying) setTimeout(() =>
   requestAnimationFrame(() => requestAnimationFrame(() => done('played'))), 500);
 else setTimeout(poll, 50); }; poll(); })"""


class Chromium:
    """Headless Chromium over its DevTools pipe, started without any file-access flag."""

    def __init__(self, work, width, height):
        to_browser, self.commands = os.pipe()
        self.replies, from_browser = os.pipe()
        args = ["chromium", "--headless", "--disable-gpu", "--hide-scrollbars", "--mute-audio",
                "--no-first-run", "--disable-extensions", "--disable-background-networking",
                "--host-resolver-rules=MAP * ~NOTFOUND", "--proxy-server=127.0.0.1:9",
                "--remote-debugging-pipe", "--user-data-dir=" + os.path.join(work, "profile"),
                "--window-size=%d,%d" % (width, height), "about:blank"]
        if os.geteuid() == 0:
            args.insert(1, "--no-sandbox")

        # The pipe's ends become the browser's 3 and 4 in a shell between, never in this
        # process's own child, where they could land on the descriptors of subprocess itself.
        self.process = subprocess.Popen(
            ["bash", "-c", 'exec "$@" 3<&%d 4>&%d' % (to_browser, from_browser), "bash", *args],
            pass_fds=(to_browser, from_browser), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(to_browser)
        os.close(from_browser)
        self.buffer, self.last = b"", 0
        target = self.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.session = self.call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        self.call("Emulation.setDeviceMetricsOverride", {"width": width, "height": height,
                  "deviceScaleFactor": 1, "mobile": False}, self.session)
        self.call("Page.enable", {}, self.session)

    def next(self):
        while b"\0" not in self.buffer:
            # A browser that hangs fails the run instead of holding it until ctest's limit.
            if not select.select([self.replies], [], [], 120)[0]:
                raise RuntimeError("the browser did not answer within 120 s")
            chunk = os.read(self.replies, 65536)
            if not chunk:
                raise RuntimeError("the browser closed its pipe")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def call(self, method, params, session=None):
        self.last += 1
        message = {"id": self.last, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self.commands, json.dumps(message).encode() + b"\0")
        while True:
            reply = self.next()
            if reply.get("id") == self.last:
                return reply.get("result", {})

    def open(self, url):
        """The outcome of the played check, and the PNG's bytes when it played."""
        self.call("Page.navigate", {"url": url}, self.session)
        while self.next().get("method") != "Page.loadEventFired":
            pass
        outcome = self.call("Runtime.evaluate", {"expression": MOVIE_PLAYED, "awaitPromise": True,
                                                 "returnByValue": True}, self.session)
        outcome = outcome.get("result", {}).get("value", "")
        png = b""
        if outcome == "played":
            png = base64.b64decode(self.call("Page.captureScreenshot", {"format": "png"},
                                             self.session)["data"])
        return outcome, png

    def close(self):
        try:
            self.call("Browser.close", {})
        except (RuntimeError, OSError):
            pass
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            pass
        try:
            os.killpg(self.process.pid, 9)
        except ProcessLookupError:
            pass
        os.close(self.commands)
        os.close(self.replies)
