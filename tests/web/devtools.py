"""A headless Chromium driven over the DevTools protocol on a pipe, and the
static server of the site, both ended by process id.
"""
import base64
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

CHROMIUM_FLAGS = [
    '--headless=new', '--remote-debugging-pipe', '--no-first-run', '--no-default-browser-check',
    '--disable-background-networking', '--disable-component-update', '--disable-sync', '--disable-quic',
    '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    '--autoplay-policy=user-gesture-required', '--window-size=640,480',
]


class Picture:
    """An RGB picture decoded from a PNG screenshot."""

    def __init__(self, png):
        chunks, pos = [], 8
        while pos < len(png):
            length, kind = struct.unpack('>I4s', png[pos:pos + 8])
            chunks.append((kind, png[pos + 8:pos + 8 + length]))
            pos += 12 + length
        header = dict(chunks)[b'IHDR']
        self.width, self.height, depth, colour = struct.unpack('>IIBB', header[:10])
        if depth != 8 or colour not in (2, 6):
            raise ValueError('unexpected PNG form %d/%d' % (depth, colour))
        channels = 4 if colour == 6 else 3
        raw = zlib.decompress(b''.join(data for kind, data in chunks if kind == b'IDAT'))
        stride = self.width * channels
        rows, previous = [], bytearray(stride)
        for y in range(self.height):
            kind = raw[y * (stride + 1)]
            row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
            for i in range(stride):
                left = row[i - channels] if i >= channels else 0
                up = previous[i]
                corner = previous[i - channels] if i >= channels else 0
                if kind == 1:
                    row[i] = (row[i] + left) & 255
                elif kind == 2:
                    row[i] = (row[i] + up) & 255
                elif kind == 3:
                    row[i] = (row[i] + (left + up) // 2) & 255
                elif kind == 4:
                    p = left + up - corner
                    pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                    row[i] = (row[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
            rows.append(row)
            previous = row
        self.rows, self.channels = rows, channels

    def at(self, x, y):
        i = x * self.channels
        r, g, b = self.rows[y][i:i + 3]
        return (r << 16) | (g << 8) | b

    def near(self, x, y, colour, tolerance=24):
        have = self.at(x, y)
        return all(abs(((have >> s) & 255) - ((colour >> s) & 255)) <= tolerance for s in (16, 8, 0))

    def any_near(self, box, colour, tolerance=24):
        x0, y0, x1, y1 = box
        return any(self.near(x, y, colour, tolerance) for y in range(y0, y1) for x in range(x0, x1))

    def differs_in(self, other, box):
        x0, y0, x1, y1 = box
        return any(self.at(x, y) != other.at(x, y) for y in range(y0, y1) for x in range(x0, x1))


class Server:
    """web/serve.py on a free port of 127.0.0.1."""

    def __init__(self, serve_script, site):
        self.process = subprocess.Popen([sys.executable, serve_script, site, '0'], stdout=subprocess.PIPE,
                                        text=True)
        self.address = self.process.stdout.readline().split()[-1]

    def stop(self):
        self.process.kill()
        self.process.wait()


class Browser:
    """One headless Chromium with a fresh profile and one page in it."""

    def __init__(self, chromium='chromium'):
        self.profile = tempfile.mkdtemp(prefix='tarvolan-chromium-')
        to_browser_read, self.to_browser = os.pipe()
        self.from_browser, from_browser_write = os.pipe()

        def give_pipes():
            os.dup2(to_browser_read, 3)
            os.dup2(from_browser_write, 4)

        flags = CHROMIUM_FLAGS + ['--user-data-dir=' + self.profile]
        if os.geteuid() == 0:
            flags.append('--no-sandbox')
        self.process = subprocess.Popen([chromium] + flags + ['about:blank'], preexec_fn=give_pipes,
                                        close_fds=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser_read)
        os.close(from_browser_write)
        self.buffer = b''
        self.next_id = 0
        self.events = []
        self.session = None
        page = next(t for t in self.call('Target.getTargets')['targetInfos'] if t['type'] == 'page')
        self.session = self.call('Target.attachToTarget', targetId=page['targetId'], flatten=True)['sessionId']
        for domain in ('Page', 'Runtime', 'Log'):
            self.call(domain + '.enable')
        self.call('Emulation.setDeviceMetricsOverride', width=640, height=480, deviceScaleFactor=1, mobile=False)

    def _read_message(self):
        while b'\0' not in self.buffer:
            chunk = os.read(self.from_browser, 65536)
            if not chunk:
                raise RuntimeError('the browser closed its pipe')
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b'\0', 1)
        return json.loads(message)

    def call(self, method, **params):
        self.next_id += 1
        message = {'id': self.next_id, 'method': method, 'params': params}
        if self.session:
            message['sessionId'] = self.session
        os.write(self.to_browser, json.dumps(message).encode() + b'\0')
        while True:
            reply = self._read_message()
            if reply.get('id') == self.next_id:
                if 'error' in reply:
                    raise RuntimeError('%s: %s' % (method, reply['error']))
                return reply['result']
            self.events.append(reply)

    def _event(self, method, bound):
        end = time.monotonic() + bound
        while time.monotonic() < end:
            found = [e for e in self.events if e.get('method') == method]
            if found:
                self.events = [e for e in self.events if e.get('method') != method]
                return found[0]
            self.events.append(self._read_message())
        raise AssertionError('waited %.0f s for %s' % (bound, method))

    def open(self, address, bound=60.0):
        """Loads `address` (or the page again, without one) and waits for its load event."""
        if address:
            self.call('Page.navigate', url=address)
        else:
            self.call('Page.reload')
        self._event('Page.loadEventFired', bound)

    def evaluate(self, expression):
        result = self.call('Runtime.evaluate', expression=expression, returnByValue=True, awaitPromise=True)
        if 'exceptionDetails' in result:
            raise RuntimeError('%s: %s' % (expression, result['exceptionDetails']))
        return result['result'].get('value')

    def picture(self):
        return Picture(base64.b64decode(self.call('Page.captureScreenshot', format='png')['data']))

    def key(self, name, code, key_code, kind):
        self.call('Input.dispatchKeyEvent', type=kind, key=name, code=code, windowsVirtualKeyCode=key_code,
                  nativeVirtualKeyCode=key_code)

    def frame(self):
        return self.evaluate('Browser.mainLoop.currentFrameNumber')

    def frames(self, count):
        """Waits until the game ran `count` more frames."""
        first = self.frame()
        self.wait_for('%d frames' % count, lambda: self.frame() >= first + count)

    def press(self, name, code, key_code):
        """The game reads whether keys are down at each update: the key stays
        down for a few frames."""
        self.key(name, code, key_code, 'rawKeyDown')
        self.frames(3)
        self.key(name, code, key_code, 'keyUp')
        self.frames(3)

    def wait_for(self, what, condition, bound=60.0):
        """Checks `condition` until it holds; fails after `bound` seconds."""
        end = time.monotonic() + bound
        while True:
            value = condition()
            if value:
                return value
            if time.monotonic() > end:
                raise AssertionError('waited %.0f s for %s' % (bound, what))
            self.call('Runtime.evaluate', expression='new Promise(r => requestAnimationFrame(() => r()))',
                      awaitPromise=True)

    def problems(self):
        """Page exceptions and console errors seen so far."""
        found = []
        for event in self.events:
            method, params = event.get('method'), event.get('params', {})
            if method == 'Runtime.exceptionThrown':
                found.append(params['exceptionDetails'].get('text', '') + ' ' +
                             str(params['exceptionDetails'].get('exception', {}).get('description', '')))
            elif method == 'Runtime.consoleAPICalled' and params['type'] == 'error':
                found.append(' '.join(str(a.get('value', a.get('description'))) for a in params['args']))
            elif method == 'Log.entryAdded' and params['entry']['level'] == 'error':
                found.append(params['entry']['text'])
        return found

    def stop(self):
        self.process.kill()
        self.process.wait()
        os.close(self.to_browser)
        os.close(self.from_browser)
        shutil.rmtree(self.profile, ignore_errors=True)
