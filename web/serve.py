#!/usr/bin/python3
"""Serves the site folder on 127.0.0.1 and prints its address.

serve.py SITE [PORT]: PORT 8000 by default; when that port is taken, any
free one. PORT 0 always takes a free one.
"""
import functools
import http.server
import sys


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm', '.data': 'application/octet-stream',
                      '.js': 'text/javascript'}

    def log_message(self, *args):
        pass


def open_server(site, port):
    handler = functools.partial(SiteHandler, directory=site)
    try:
        return http.server.ThreadingHTTPServer(('127.0.0.1', port), handler)
    except OSError:
        if port == 0:
            raise
        return http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    server = open_server(sys.argv[1], int(sys.argv[2]) if len(sys.argv) == 3 else 8000)
    print('Tarvolan is served at http://127.0.0.1:%d/' % server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == '__main__':
    main()
