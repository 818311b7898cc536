#!/usr/bin/env python3
"""A local update server for trying the update flow by hand (never for tests: they start their
own). Listens on 127.0.0.1 only.

    scripts/update-test-server.py FOLDER [--port 8407]

FOLDER/answers.json maps app keys to answers, for example
    {"Q407_0_ALL_AP_1": {"path": "http://127.0.0.1:8407/files/q407.deb", "name": "Driver",
                         "version_name": "V1.0.2", "version": "102", "device_id": 1,
                         "sha256": "<SHA-256 of files/q407.deb>"}}
and the files it names are served from FOLDER/files/. An answer without "sha256" whose "path"
names one of those files gets that file's SHA-256 added (the program runs a download only when
it matches); give a wrong one on purpose to try a refused download. Point the program at it with
$XDG_CONFIG_HOME/Q407/update.json:  {"BaseUrl": "http://127.0.0.1:8407/api/"}
"""
import argparse
import hashlib
import json
import pathlib
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


def with_sha256(answer: dict, folder: pathlib.Path) -> dict:
    """The answer, with the SHA-256 of the served file its "path" names when it carries none."""
    if not isinstance(answer, dict) or "sha256" in answer:
        return answer
    path = urllib.parse.urlsplit(str(answer.get("path", ""))).path
    name = path.removeprefix("/files/")
    file = folder / "files" / name
    if path.startswith("/files/") and "/" not in name and file.is_file():
        return {**answer, "sha256": hashlib.sha256(file.read_bytes()).hexdigest()}
    return answer


def make_handler(folder: pathlib.Path):
    class Handler(BaseHTTPRequestHandler):
        def do_POST(self):
            if self.path != "/api/updates":
                self.send_error(404)
                return
            length = min(int(self.headers.get("Content-Length", "0")), 65536)
            body = self.rfile.read(length).rstrip(b"\0").decode("utf-8", "replace")
            key = urllib.parse.parse_qs(body).get("app_key", [""])[0]
            answers = json.loads((folder / "answers.json").read_text())
            answer = with_sha256(answers.get(key, {}), folder)
            payload = json.dumps(answer).encode() if key in answers else b""
            print(f"update request {body!r} -> {'answer' if payload else 'nothing'}", flush=True)
            self.send_response(200)
            self.send_header("Content-Type", "application/json")
            self.send_header("Content-Length", str(len(payload)))
            self.end_headers()
            self.wfile.write(payload)

        def do_GET(self):
            name = urllib.parse.urlsplit(self.path).path.removeprefix("/files/")
            file = folder / "files" / name
            if "/" in name or not file.is_file():
                self.send_error(404)
                return
            data = file.read_bytes()
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data)

    return Handler


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder", type=pathlib.Path)
    parser.add_argument("--port", type=int, default=8407)
    args = parser.parse_args()
    server = ThreadingHTTPServer(("127.0.0.1", args.port), make_handler(args.folder))
    print(f"update server on http://127.0.0.1:{args.port}/api/ serving {args.folder}", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
