#!/usr/bin/env python3
"""The local maker's server of the test world, on loopback only.

Paths, answered to GET and POST alike:
  /Corvane/Tessaly/start.php     check-in (OperationType=1) and password renewal (5)
  /Corvane/Tessaly/retrieve.php  proxy list (OperationType=4)
  /Corvane/testurl.txt           test page URL and expected text: "URL|text|"
  /test.htm                      the test page; its body holds the expected text

Every request to these paths is appended to STATE/requests.log as one JSON
line {"method", "path", "body"} (bytes as Latin-1 text). Tests steer the next
replies and read what the program sent through /control:
  /control/reset                 forget overrides and empty the log
  /control/next?path=P[&count=N] the request body is the exact reply to the
                                 next N requests to P (default 1, 0 = until reset)
  /control?mode=M[&path=P][&count=N]
                                 a canned reply instead: normal, close (drop the
                                 connection unanswered), empty (no bytes),
                                 bad-reply (binary junk), empty-list ("Empty")
  /control/last?path=P           the raw body of the last request to P (404: none)
  /control/count?path=P          how many requests P received
  /control/log                   the whole log
Control requests are not logged. Replies are fixed, so runs are repeatable.
"""

import argparse
import json
import os
import threading
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

START_PATH = "/Corvane/Tessaly/start.php"
RETRIEVE_PATH = "/Corvane/Tessaly/retrieve.php"
TESTURL_PATH = "/Corvane/testurl.txt"
TEST_PAGE_PATH = "/test.htm"

RELAY_PASSWORD = b"tessaly-relay-pass"   # the world's tinyproxy password
REAL_IP = b"127.0.0.1"
REAL_COUNTRY = b"US"
RENEWAL_DELAY = b"86400"
EXPECTED_TEXT = b"TessalyOK"

# Country-table indices (line positions in countries.crv).
US, DE, FR, GB, JP = 234, 59, 75, 79, 115

# address, port, country, type (1 elite, 2 anonymous), uptime, speed
PROXIES = [
    ("127.0.0.1", 18201, US, 1, 0, 3600000),
    ("127.0.0.1", 18202, DE, 1, 0, 3600000),
    ("127.0.0.1", 18203, JP, 2, 0, 3600000),
    # Nothing listens on these: tests see failures.
    ("127.0.0.2", 1, US, 1, 0, 3600000),
    ("127.0.0.3", 1, FR, 2, 0, 3600000),
    ("127.0.0.4", 9, GB, 1, 0, 3600000),
]

JUNK = bytes([0x89, 0x50, 0x4E, 0x47, 0xFF, 0xFE, 0x01, 0x02, 0x7F, 0x80, 0xC3, 0x28,
              0x0D, 0x0A, 0x1B, 0x5B, 0x33, 0x31, 0x6D, 0xEF, 0xBB, 0xBF]) * 4

SERVED_PATHS = (START_PATH, RETRIEVE_PATH, TESTURL_PATH, TEST_PAGE_PATH)


def parse_body(body):
    """Splits a form body on '&' and '=' as it is sent: unencoded."""
    fields = {}
    for part in body.split(b"&"):
        key, _, value = part.partition(b"=")
        fields.setdefault(key, value)
    return fields


def start_reply(fields):
    if fields.get(b"OperationType") == b"5":
        return b"PWStart" + RELAY_PASSWORD + b"PWEnd"
    return (b"PWStart" + RELAY_PASSWORD + b"PWEnd\r\n"
            b"TimeStart" + RENEWAL_DELAY + b"TimeEnd\r\n"
            b"CountryCode:" + REAL_COUNTRY + b"\r\n"
            b"IPAddress:" + REAL_IP + b"\r\n")


def retrieve_reply(fields, state):
    listed = os.path.join(state, "proxies.txt")
    if os.path.isfile(listed):
        with open(listed, "rb") as f:
            return f.read()
    types = {t for t in fields.get(b"AnonymousType", b"").split(b"\t") if t}
    all_countries = fields.get(b"AllCountry") == b"1"
    countries = {c for c in fields.get(b"Countries", b"").split(b"\t") if c}
    lines = []
    for address, port, country, kind, uptime, speed in PROXIES:
        if str(kind).encode() not in types:
            continue
        if not all_countries and str(country).encode() not in countries:
            continue
        lines.append("%s\t%d\t%d\t%d\t%d\t%d\r\n" % (address, port, country, kind, uptime, speed))
    if not lines:
        return b"Empty"
    return "".join(lines).encode("ascii")


def testurl_reply(port):
    return b"http://127.0.0.1:%d%s|%s|" % (port, TEST_PAGE_PATH.encode(), EXPECTED_TEXT)


def test_page():
    return (b"<html><head><title>Corvane test page</title></head>"
            b"<body><p>Corvane Tessaly test page: " + EXPECTED_TEXT + b"</p></body></html>\r\n")


CANNED = {
    "empty": b"",
    "bad-reply": JUNK,
    "empty-list": b"Empty",
}


class World:
    def __init__(self, state, port):
        self.state = state
        self.port = port
        self.lock = threading.Lock()
        self.overrides = {}   # path -> [reply bytes or "close", remaining count, 0 = forever]
        self.last = {}
        self.counts = {}
        self.log_path = os.path.join(state, "requests.log")
        open(self.log_path, "ab").close()

    def reset(self):
        with self.lock:
            self.overrides.clear()
            self.last.clear()
            self.counts.clear()
            open(self.log_path, "wb").close()

    def record(self, method, path, body):
        with self.lock:
            self.last[path] = body
            self.counts[path] = self.counts.get(path, 0) + 1
            line = json.dumps({"method": method, "path": path, "body": body.decode("latin-1")})
            with open(self.log_path, "a", encoding="utf-8") as f:
                f.write(line + "\n")

    def take_override(self, path):
        with self.lock:
            entry = self.overrides.get(path)
            if entry is None:
                return None
            reply, remaining = entry
            if remaining > 0:
                remaining -= 1
                if remaining == 0:
                    del self.overrides[path]
                else:
                    entry[1] = remaining
            return reply

    def set_override(self, path, reply, count):
        with self.lock:
            if reply is None:
                self.overrides.pop(path, None)
            else:
                self.overrides[path] = [reply, count]


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    server_version = "CorvaneMaker/1.0"

    def log_message(self, fmt, *args):
        pass

    def do_GET(self):
        self.handle_request()

    def do_POST(self):
        self.handle_request()

    def read_body(self):
        length = int(self.headers.get("Content-Length") or 0)
        return self.rfile.read(length) if length > 0 else b""

    def reply(self, status, body, content_type="text/plain"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)

    def handle_request(self):
        world = self.server.world
        url = urlsplit(self.path)
        # A proxy hands on the absolute form; the path is what counts.
        path = url.path
        query = parse_qs(url.query)
        body = self.read_body()
        if path == "/control" or path.startswith("/control/"):
            self.control(world, path, query, body)
            return
        world.record(self.command, path, body)
        override = world.take_override(path)
        if override == "close":
            self.close_connection = True
            return
        if override is not None:
            self.reply(200, override)
            return
        if path == START_PATH:
            self.reply(200, start_reply(parse_body(body)))
        elif path == RETRIEVE_PATH:
            self.reply(200, retrieve_reply(parse_body(body), world.state))
        elif path == TESTURL_PATH:
            self.reply(200, testurl_reply(world.port))
        elif path == TEST_PAGE_PATH:
            self.reply(200, test_page(), "text/html")
        else:
            self.reply(404, b"Not Found")

    def control(self, world, path, query, body):
        target = query.get("path", [START_PATH])[0]
        count = int(query.get("count", ["1"])[0])
        if path == "/control/reset":
            world.reset()
            self.reply(200, b"OK")
        elif path == "/control/next":
            world.set_override(target, body, count)
            self.reply(200, b"OK")
        elif path == "/control":
            mode = query.get("mode", ["normal"])[0]
            if mode == "normal":
                world.set_override(target, None, 0)
            elif mode == "close":
                world.set_override(target, "close", count)
            elif mode in CANNED:
                world.set_override(target, CANNED[mode], count)
            else:
                self.reply(400, b"unknown mode")
                return
            self.reply(200, b"OK")
        elif path == "/control/last":
            with world.lock:
                last = world.last.get(target)
            if last is None:
                self.reply(404, b"")
            else:
                self.reply(200, last)
        elif path == "/control/count":
            with world.lock:
                n = world.counts.get(target, 0)
            self.reply(200, str(n).encode())
        elif path == "/control/log":
            with world.lock:
                with open(world.log_path, "rb") as f:
                    data = f.read()
            self.reply(200, data)
        else:
            self.reply(404, b"Not Found")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=18188)
    parser.add_argument("--state", required=True)
    args = parser.parse_args()
    os.makedirs(args.state, exist_ok=True)
    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    server.world = World(args.state, args.port)
    server.serve_forever()


if __name__ == "__main__":
    main()
