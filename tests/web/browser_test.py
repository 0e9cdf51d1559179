#!/usr/bin/python3
"""The browser build played end to end in headless Chromium.

browser_test.py SERVE_SCRIPT SITE: serves SITE with SERVE_SCRIPT on a free
port and plays it: the title, a game with its tune, running, the game standing
still while the page is hidden, pausing, quitting with the state saved, the
state still there after a reload, full screen and back, the canvas following
the page's size, and the page's message when the program ends. Exits 77
(skipped) when there is no site to play ("make web" builds it).
"""
import os
import sys
import time

from devtools import Browser, Server

STATE_FILE = '/state/.zarnikstate'
ENDED_MESSAGE = 'Tarvolan has ended \u2014 reload the page to play again'
SCORE_BOX = (272, 14, 384, 40)     # the score under the best score, top centre
PARTY_BOX = (240, 200, 560, 260)   # the party's row at the start of a level
WHOLE_PAGE = (0, 0, 640, 480)
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
    return not shows_title(picture) and picture.any_near(SCORE_BOX, 0x60de59, 30)


def shows_pause(picture):
    """The pause panel's orange body and the resume button's blue arrow."""
    return picture.near(200, 280, 0xb8760d) and picture.near(315, 245, 0x3131f2)


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

    # Hidden, the page goes on drawing frames, but with the run key held and
    # the resume key pressed nothing moves.
    browser.key(*RUN, 'rawKeyDown')
    browser.evaluate(SHOW_PAGE % 'hidden')
    browser.frames(2)
    hidden = browser.picture()
    browser.press(*SPACE)
    browser.frames(30)
    check(not browser.picture().differs_in(hidden, WHOLE_PAGE), 'the game stands still on a hidden page')
    # Shown again, the game comes back paused; resumed, the held run key
    # moves the party and raises the score.
    browser.evaluate(SHOW_PAGE % 'visible')
    browser.wait_for('the game paused after the page showed again', lambda: shows_pause(browser.picture()), 60)
    paused = browser.picture()
    first_frame, resumed = browser.frame(), time.monotonic()
    browser.press(*SPACE)
    browser.wait_for('the score to rise', lambda: (lambda p: not shows_pause(p) and p.differs_in(paused, SCORE_BOX) and
                                                  p.differs_in(paused, PARTY_BOX))(browser.picture()), 180)
    browser.key(*RUN, 'keyUp')
    print('bench: %.1f frames per second during play' %
          ((browser.frame() - first_frame) / (time.monotonic() - resumed)))

    # The game takes Escape once every key is up for a few updates.
    browser.frames(10)
    browser.press(*ESCAPE)
    browser.wait_for('the pause panel', lambda: shows_pause(browser.picture()), 60)
    browser.press(*LEFT)
    browser.press(*SPACE)
    state = browser.wait_for('the saved state', lambda: saved_state(browser), 60)
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


def play(browser, address):
    started = time.monotonic()
    browser.open(address)
    browser.wait_for('the title frame', lambda: shows_title(browser.picture()), 120)
    print('bench: page load to first title frame %.1f s' % (time.monotonic() - started))
    check(saved_state(browser) == '', 'a fresh profile has no saved state')

    state = play_a_game(browser)

    # The state survives a reload and is read back.
    browser.open(None)
    browser.wait_for('the title after a reload', lambda: shows_title(browser.picture()), 120)
    check(saved_state(browser) == state, 'the state file after a reload is the one saved')

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
