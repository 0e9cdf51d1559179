#!/usr/bin/python3
"""The browser build played end to end in headless Chromium.

browser_test.py SERVE_SCRIPT SITE: serves SITE with SERVE_SCRIPT on a free
port and plays it: the title, a game with its tune, running, the game standing
still while the page is hidden, pausing, quitting with the score saved, the
score still there after a reload, full screen and back, the canvas following
the page's size, the page's message when the program ends, and its report
when a frame fails. Exits 77 (skipped) when there is no site to play
("make web" builds it).
"""
import os
import sys
import time

from devtools import Browser, Server

STATE_FILE = '/state/.zarnikstate'
ENDED_MESSAGE = 'Tarvolan has ended \u2014 reload the page to play again'
ERROR_MESSAGE = 'Tarvolan stopped on an error \u2014 reload the page to play again'
SCORE_BOX = (272, 14, 384, 40)     # the score under the best score, top centre
PARTY_BOX = (240, 200, 560, 260)   # the party's row at the start of a level
WHOLE_PAGE = (0, 0, 640, 480)
SCORE_DIGITS = 0x60de59
SCORE_PITCH = 14       # the score's digits, pixels apart
SCORE_DIGIT_COUNT = 8
# Pixels by which two digits differ at least; a passing particle makes fewer.
SCORE_DIGIT_DIFFERENCE = 6
PANEL_ORANGE = 0xb8760d
PANEL_COLUMN = (198, 0, 202, 300)  # where the pause panel slides up and down
QUIT_RING = 0xfbfb61
# The title's best scores, right-aligned at the right edge in the digits'
# colour: an empty row shows a lone 0.
BEST_COLUMN = (590, 60, 640, 240)
BEST_DIGITS = 0xffc864
SPACE = (' ', 'Space', 32)
ESCAPE = ('Escape', 'Escape', 27)
LEFT = ('ArrowLeft', 'ArrowLeft', 37)
RUN = ('l', 'KeyL', 76)
F11 = ('F11', 'F11', 122)
BIGGER_PAGE = (800, 600)

# Makes the page hidden or visible as a switched tab does.
SHOW_PAGE = """(state => {
    Object.defineProperty(document, 'visibilityState', {value: state, configurable: true});
    Object.defineProperty(document, 'hidden', {value: state !== 'visible', configurable: true});
    document.dispatchEvent(new Event('visibilitychange'));
})('%s')"""
# Notes whether the page kept F11 from the browser, seen after every other
# listener.
NOTE_F11 = """window.addEventListener('keydown', event => {
    if (event.key === 'F11') window.f11Kept = event.defaultPrevented;
})"""
# Makes every later file opening fail as a broken storage would.
BREAK_READS = """Module.FS.open = function(path) { throw new Error('the storage failed to open ' + path); }"""
# Notes the files the program opens from now on.
NOTE_READS = """(() => {
    window.filesOpened = [];
    const open = Module.FS.open;
    Module.FS.open = function(path, ...rest) { window.filesOpened.push(String(path)); return open.call(this, path, ...rest); };
})()"""


def shows_title(picture):
    """The title's night sky in the corner, the logo's orange letters and the
    green play arrow."""
    return picture.near(5, 5, 0x000050) and picture.near(111, 80, 0xf9b26b, 40) and \
        picture.near(570, 430, 0x2e6b4b, 40)


def shows_game(picture):
    """The play frame's green score digits."""
    return not shows_title(picture) and picture.any_near(SCORE_BOX, SCORE_DIGITS, 30)


def shows_pause(picture):
    """The pause panel's orange body and the resume button's blue arrow."""
    return picture.near(200, 280, PANEL_ORANGE) and picture.near(315, 245, 0x3131f2)


def score_shape(picture):
    """The pixels of the score's green digits; none while the game is dimmed."""
    x0, y0, x1, y1 = SCORE_BOX
    return frozenset((x, y) for y in range(y0, y1) for x in range(x0, x1) if picture.near(x, y, SCORE_DIGITS, 30))


def shows_quit_chosen(picture):
    """The yellow ring around the pause panel's quit button."""
    return all(picture.near(x, y, QUIT_RING) for x, y in ((180, 143), (148, 175), (212, 175)))


def playing(picture):
    """The game with its score, no pause panel anywhere and not dimmed."""
    return not picture.any_near(PANEL_COLUMN, PANEL_ORANGE) and bool(score_shape(picture))


def scores_points(picture):
    """A score digit unlike the leftmost one, which stays 0 below ten
    million points."""
    shape = score_shape(picture)
    if not shape:
        return False
    left, top = min(x for x, _ in shape), min(y for _, y in shape)
    digits = [frozenset((x - left - SCORE_PITCH * i, y - top) for x, y in shape
                        if 0 <= x - left - SCORE_PITCH * i < SCORE_PITCH) for i in range(SCORE_DIGIT_COUNT)]
    return any(len(digit ^ digits[0]) >= SCORE_DIGIT_DIFFERENCE for digit in digits[1:])


def moved_on(before, picture):
    """Points scored and the party elsewhere."""
    return playing(picture) and scores_points(picture) and picture.differs_in(before, PARTY_BOX)


def score_rows(picture):
    """The shapes of the best scores' rows, top down, each relative to its
    top line; the rows lie wherever the sliding panel puts them."""
    x0, y0, x1, y1 = BEST_COLUMN
    rows, shape, top = [], set(), None
    for y in range(y0, y1):
        line = {x for x in range(x0, x1) if picture.near(x, y, BEST_DIGITS, 40)}
        if line:
            top = y if top is None else top
            shape |= {(x, y - top) for x in line}
        elif top is not None:
            rows.append(shape)
            shape, top = set(), None
    return rows


def shows_saved_score(picture):
    """The best score's row differs in shape from the empty row under it."""
    rows = score_rows(picture)
    return len(rows) >= 2 and rows[0] != rows[1]


def saved_state(browser):
    return browser.evaluate("(() => { try { return Module.FS.readFile('%s', {encoding: 'utf8'}); }"
                            " catch (e) { return ''; } })()" % STATE_FILE)


def check(condition, what):
    if not condition:
        raise AssertionError(what)


def play_a_game(browser):
    """Space starts a game with its tune; a hidden page holds the game still
    until it shows again, paused; resumed, the run key raises the score;
    Escape pauses; quitting from the pause panel saves the score."""
    # Space on the title starts a game; the first key lets the sound start.
    browser.wait_for('a game', lambda: browser.press(*SPACE) or shows_game(browser.picture()), 120)
    browser.wait_for('the tune', lambda: browser.evaluate(
        "AL.currentCtx.audioCtx.state === 'running' && Object.values(AL.currentCtx.sources)"
        ".some(s => s && s.looping && s.state === 0x1012)"), 60)

    # Holding the run key moves the party and raises the score.
    before = browser.picture()
    first_frame, hold_started = browser.frame(), time.monotonic()
    browser.key(*RUN, 'rawKeyDown')
    browser.wait_for('the score to rise', lambda: moved_on(before, browser.picture()), 180)
    print('bench: %.1f frames per second during play' %
          ((browser.frame() - first_frame) / (time.monotonic() - hold_started)))

    # Hidden, the page goes on drawing frames, but with the run key held and
    # the resume key pressed nothing moves; the game saves as it suspends.
    browser.evaluate(SHOW_PAGE % 'hidden')
    browser.frames(2)
    hidden = browser.picture()
    browser.press(*SPACE)
    browser.frames(30)
    check(not browser.picture().differs_in(hidden, WHOLE_PAGE), 'the game stands still on a hidden page')
    browser.key(*RUN, 'keyUp')
    suspended_state = saved_state(browser)
    check(suspended_state != '', 'the game saves as the page hides')
    # Shown again, the game comes back paused; resumed, it runs on and the
    # panel slides away.
    browser.evaluate(SHOW_PAGE % 'visible')
    browser.wait_for('the game paused after the page showed again', lambda: shows_pause(browser.picture()), 60)
    browser.press(*SPACE)
    browser.wait_for('the game resumed', lambda: playing(browser.picture()), 60)

    # A key counts once an update saw every key up: a few frames with none.
    browser.frames(10)
    browser.press(*ESCAPE)
    browser.wait_for('the pause panel', lambda: shows_pause(browser.picture()), 60)
    # Quitting the game from the panel records the score and saves it. A key
    # pressed while the game still counts an earlier one does nothing, so
    # each is pressed until the game answers.
    browser.wait_for('the quit button chosen', lambda: browser.press(*LEFT) or shows_quit_chosen(browser.picture()), 60)
    browser.wait_for('the game quit', lambda: browser.press(*SPACE) or not shows_quit_chosen(browser.picture()), 60)
    state = browser.wait_for('the score saved', lambda: (lambda s: s != suspended_state and s)(saved_state(browser)),
                             60)
    browser.wait_for('the title after quitting', lambda: shows_title(browser.picture()), 120)
    return state


def go_full_screen_and_back(browser):
    """F11 asks the browser to show the canvas on the whole screen, and the
    page keeps the key from the browser; F11 again comes back to the title."""
    browser.evaluate(NOTE_F11)
    browser.press(*F11)
    browser.wait_for('full screen', lambda: browser.evaluate('document.fullscreenElement === Module.canvas'), 60)
    check(browser.evaluate('window.f11Kept') is True, 'the page keeps F11 from the browser')
    browser.press(*F11)
    browser.wait_for('the end of full screen', lambda: browser.evaluate('document.fullscreenElement === null'), 60)
    browser.wait_for('the title after full screen', lambda: shows_title(browser.picture()), 120)


def follow_the_page_size(browser):
    """A bigger page: the canvas takes its size and the game lays out for it,
    choosing the larger art as for a bigger window."""
    browser.evaluate(NOTE_READS)
    width, height = BIGGER_PAGE
    browser.call('Emulation.setDeviceMetricsOverride', width=width, height=height, deviceScaleFactor=1,
                 mobile=False)
    browser.wait_for('the canvas at the page size', lambda: browser.evaluate(
        '[Module.canvas.width, Module.canvas.height]') == [width, height], 60)
    browser.wait_for('the larger art', lambda: browser.evaluate(
        "window.filesOpened.some(path => path.endsWith('-hd.png'))"), 60)


def stop_on_an_error(browser):
    """A failure inside a frame: the page shows the report, the console has
    it, and no frame runs after it."""
    browser.open(None)
    browser.wait_for('the title', lambda: browser.evaluate(
        "typeof Browser !== 'undefined' && Browser.mainLoop.currentFrameNumber > 0"), 120)
    browser.evaluate(BREAK_READS)
    browser.call('Emulation.setDeviceMetricsOverride', width=640, height=480, deviceScaleFactor=1, mobile=False)
    browser.wait_for('the error on the page', lambda: browser.evaluate("document.body.classList.contains('ended')"), 60)
    message = browser.evaluate("document.getElementById('message').textContent")
    check(message.startswith(ERROR_MESSAGE) and 'the storage failed to open' in message,
          'the page shows the error: %r' % message)
    check(any('the storage failed to open' in problem for problem in browser.problems()),
          'the console has the error')
    last_frame = browser.frame()
    browser.wait_for('animation frames', lambda: browser.evaluate(
        'new Promise(done => { let left = 10; const next = () => --left ? requestAnimationFrame(next) : done(true);'
        ' requestAnimationFrame(next); })'), 60)
    check(browser.frame() == last_frame, 'no frame runs after the error')


def play(browser, address):
    started = time.monotonic()
    browser.open(address)
    browser.wait_for('the title frame', lambda: shows_title(browser.picture()), 120)
    print('bench: page load to first title frame %.1f s' % (time.monotonic() - started))
    check(saved_state(browser) == '', 'a fresh profile has no saved state')

    state = play_a_game(browser)

    # The state survives a reload: it is read back and the title's table
    # shows the score.
    browser.open(None)
    browser.wait_for('the title after a reload', lambda: shows_title(browser.picture()), 120)
    check(saved_state(browser) == state, 'the state file after a reload is the one saved')
    browser.wait_for("the score in the title's table", lambda: shows_saved_score(browser.picture()), 60)

    go_full_screen_and_back(browser)
    follow_the_page_size(browser)

    # Escape on the title ends the program; the page says so.
    browser.key(*ESCAPE, 'rawKeyDown')
    browser.wait_for('the end', lambda: browser.evaluate("document.body.classList.contains('ended')"), 60)
    browser.key(*ESCAPE, 'keyUp')
    check(browser.evaluate("document.getElementById('message').textContent") == ENDED_MESSAGE,
          'the page shows the end message')
    problems = browser.problems()
    check(not problems, 'page exceptions or console errors: %s' % problems)

    stop_on_an_error(browser)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    serve_script, site = sys.argv[1:]
    if not os.path.exists(os.path.join(site, 'tarvolan.wasm')):
        print('no site in %s: "make web" builds it' % site)
        sys.exit(77)
    server = Server(serve_script, site)
    browser = None
    try:
        browser = Browser()
        play(browser, server.address)
    finally:
        if browser:
            browser.stop()
        server.stop()
    print('the browser build plays')


if __name__ == '__main__':
    main()
