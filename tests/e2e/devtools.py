#!/usr/bin/env python3
"""Asks a page of the running program a question through the web engine's
remote debugging port (QTWEBENGINE_REMOTE_DEBUGGING), with the standard
library only.

    devtools.py PORT URL_PART EXPRESSION [FRAME_URL_PART]

Evaluates the JavaScript EXPRESSION in the first page whose address contains
URL_PART (in its frame whose address contains FRAME_URL_PART, when given) and
prints the value as JSON. An address matches as sent or percent-decoded, so
a part may name a Chinese folder as it is. Exits 1 when no such page or frame
is open, or the expression threw. The end-to-end checks use it to find where
on the screen an element is, and what a page shows; every click is still a
real X click.
"""
import base64
import json
import os
import socket
import struct
import sys
import urllib.request
from urllib.parse import unquote, urlparse


class Socket:
    """A minimal WebSocket client: text frames, masked as a client must."""

    def __init__(self, url):
        u = urlparse(url)
        self.sock = socket.create_connection((u.hostname, u.port), timeout=10)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall((f"GET {u.path} HTTP/1.1\r\nHost: {u.hostname}:{u.port}\r\n"
                           "Upgrade: websocket\r\nConnection: Upgrade\r\n"
                           f"Sec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n").encode())
        head = b""
        while b"\r\n\r\n" not in head:
            chunk = self.sock.recv(1)
            if not chunk:
                raise OSError("the debugging port closed the connection")
            head += chunk
        if b" 101 " not in head.split(b"\r\n")[0]:
            raise OSError("no WebSocket upgrade: " + head.decode(errors="replace"))
        self.next_id = 0

    def _exact(self, n):
        data = b""
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise OSError("the debugging port closed the connection")
            data += chunk
        return data

    def send(self, text):
        payload = text.encode()
        header = bytes([0x81])
        if len(payload) < 126:
            header += bytes([0x80 | len(payload)])
        elif len(payload) < 65536:
            header += bytes([0x80 | 126]) + struct.pack(">H", len(payload))
        else:
            header += bytes([0x80 | 127]) + struct.pack(">Q", len(payload))
        mask = os.urandom(4)
        self.sock.sendall(header + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload)))

    def receive(self):
        message = b""
        while True:
            first, second = self._exact(2)
            length = second & 0x7F
            if length == 126:
                length = struct.unpack(">H", self._exact(2))[0]
            elif length == 127:
                length = struct.unpack(">Q", self._exact(8))[0]
            message += self._exact(length)
            if first & 0x80:
                return message.decode()

    def call(self, method, **params):
        self.next_id += 1
        self.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            answer = json.loads(self.receive())
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise RuntimeError(answer["error"].get("message", "error"))
                return answer["result"]


def address_has(address, part):
    """True when the address holds part, as it is or percent-decoded."""
    return part in address or part in unquote(address)


def frame_context(ws, frame_part):
    """An execution context in the frame whose address contains frame_part."""
    def frames(tree):
        yield tree["frame"]
        for child in tree.get("childFrames", []):
            yield from frames(child)
    tree = ws.call("Page.getFrameTree")["frameTree"]
    for frame in frames(tree):
        if address_has(frame.get("url", ""), frame_part):
            return ws.call("Page.createIsolatedWorld", frameId=frame["id"])["executionContextId"]
    return None


def main():
    if len(sys.argv) not in (4, 5):
        print(__doc__, file=sys.stderr)
        return 2
    port, url_part, expression = sys.argv[1], sys.argv[2], sys.argv[3]
    frame_part = sys.argv[4] if len(sys.argv) == 5 else None
    try:
        with urllib.request.urlopen(f"http://127.0.0.1:{port}/json", timeout=5) as r:
            targets = json.load(r)
    except OSError as e:
        print(f"devtools: no debugging port {port}: {e}", file=sys.stderr)
        return 1
    pages = [t for t in targets if t.get("type") == "page" and address_has(t.get("url", ""), url_part)]
    if not pages:
        print(f"devtools: no page with {url_part!r} in its address", file=sys.stderr)
        return 1
    ws = Socket(pages[0]["webSocketDebuggerUrl"])
    params = {"expression": expression, "returnByValue": True, "awaitPromise": True}
    if frame_part:
        context = frame_context(ws, frame_part)
        if context is None:
            print(f"devtools: no frame with {frame_part!r} in its address", file=sys.stderr)
            return 1
        params["contextId"] = context
    result = ws.call("Runtime.evaluate", **params)
    if "exceptionDetails" in result:
        print("devtools: " + result["exceptionDetails"].get("text", "the expression threw"), file=sys.stderr)
        return 1
    print(json.dumps(result["result"].get("value"), ensure_ascii=False))
    return 0


if __name__ == "__main__":
    sys.exit(main())
