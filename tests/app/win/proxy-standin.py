#!/usr/bin/env python3
"""A company proxy for the Wine checks, on a loopback address of its own.

  proxy-standin.py --bind ADDR --log FILE [--ask-who-you-are]

Serves its own configuration script at /proxy.pac (naming itself) and
forwards absolute-form requests to the service, one line per request in
the log: "SCRIPT", "FORWARD <url>", "REFUSED <path>", or, with --ask-who-you-are, "ASKED <url>
<Proxy-Authorization or ->" answered 407 offering Negotiate and NTLM.
Prints "proxy listening on http://ADDR:PORT" once it accepts connections.
"""
import argparse
import http.server
import threading
import urllib.error
import urllib.request


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bind", default="127.0.0.2")
    parser.add_argument("--log", required=True)
    parser.add_argument("--ask-who-you-are", action="store_true")
    options = parser.parse_args()
    lock = threading.Lock()
    # No proxy for the forwarded requests, whatever the environment says.
    direct = urllib.request.build_opener(urllib.request.ProxyHandler({}))

    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def record(self, line):
            with lock, open(options.log, "a", encoding="utf-8") as log:
                log.write(line + "\n")

        def answer(self, status, body, headers=()):
            self.send_response(status)
            for name, value in headers:
                self.send_header(name, value)
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(body)
            self.close_connection = True

        def do_GET(self):
            if self.path == "/proxy.pac":
                self.record("SCRIPT")
                host, port = self.server.server_address[:2]
                script = ('function FindProxyForURL(url, host) { return "PROXY %s:%d"; }'
                          % (host, port))
                self.answer(200, script.encode(),
                            [("Content-Type", "application/x-ns-proxy-autoconfig")])
                return
            if not self.path.startswith("http://"):
                self.record("REFUSED " + self.path)
                self.answer(400, b"not a proxy request")
                return
            if options.ask_who_you_are:
                self.record("ASKED %s %s" % (self.path,
                                             self.headers.get("Proxy-Authorization", "-")))
                self.answer(407, b"who are you?",
                            [("Proxy-Authenticate", "Negotiate"),
                             ("Proxy-Authenticate", "NTLM")])
                return
            self.record("FORWARD " + self.path)
            try:
                with direct.open(self.path, timeout=10) as reply:
                    status, body = reply.status, reply.read()
                    kind = reply.headers.get("Content-Type", "text/html")
            except urllib.error.HTTPError as error:
                status, body, kind = error.code, error.read(), "text/html"
            except OSError:
                self.answer(502, b"service unreachable")
                return
            self.answer(status, body, [("Content-Type", kind)])

    server = http.server.ThreadingHTTPServer((options.bind, 0), Handler)
    print("proxy listening on http://%s:%d" % server.server_address[:2], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
