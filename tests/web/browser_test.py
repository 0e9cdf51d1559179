#!/usr/bin/python3
"""The browser build played end to end in headless Chromium.

browser_test.py SERVE_SCRIPT SITE: serves SITE with SERVE_SCRIPT on a free
port and plays it: the title, a game with its tune, running, pausing,
quitting with a saved score, the score still there after a reload, and the
page's message when the program ends. Exits 77 (skipped) when there is no
site to play ("make web" builds it).
"""
import os
import sys
import time

from devtools import Browser, Server

STATE_FILE = '/state/.zarnikstate'
ENDED_MESSAGE = 'Tarvolan has ended \u2014 reload the page to play again'
SCORE_BOX = (272, 14, 384, 40)     # the score under the best score, top centre
PARTY_BOX = (240, 200, 560, 260)   # the party's row at the start of a level
TABLE_BOX = (600, 70, 640, 230)    # the title's top-ten scores, right edge
SPACE = (' ', 'Space', 32)
ESCAPE = ('Escape', 'Escape', 27)
LEFT = ('ArrowLeft', 'ArrowLeft', 37)
RUN = ('l', 'KeyL', 76)


def shows_title(picture):
    """The title's night sky in the corner, the logo's orange letters and the
    green play arrow."""
    return picture.near(5, 5, 0x000050) and picture.near(111, 80, 0xf9b26b, 40) and \
        picture.near(570, 430, 0x2e6b4b, 40)


def shows_game(picture):
    """The play frame's green score digits."""
    return not shows_title(picture) and picture.any_near(SCORE_BOX, 0x60de59, 30)


def saved_state(browser):
    return browser.evaluate("(() => { try { return Module.FS.readFile('%s', {encoding: 'utf8'}); }"
                            " catch (e) { return ''; } })()" % STATE_FILE)


def check(condition, what):
    if not condition:
        raise AssertionError(what)


def play(browser, address):
    started = time.monotonic()
    browser.open(address)
    browser.wait_for('the title frame', lambda: shows_title(browser.picture()), 120)
    print('bench: page load to first title frame %.1f s' % (time.monotonic() - started))
    check(saved_state(browser) == '', 'a fresh profile has no saved state')
    browser.frames(60)  # the score panel has slid in
    empty_table = browser.picture()

    # Space on the title starts a game; the first key lets the sound start.
    browser.wait_for('a game', lambda: browser.press(*SPACE) or shows_game(browser.picture()), 120)
    browser.wait_for('the tune', lambda: browser.evaluate(
        "AL.currentCtx.audioCtx.state === 'running' && Object.values(AL.currentCtx.sources)"
        ".some(s => s && s.looping && s.state === 0x1012)"), 60)

    # Holding the run key moves the party and raises the score.
    before = browser.picture()
    first_frame, hold_started = browser.frame(), time.monotonic()
    browser.key(*RUN, 'rawKeyDown')
    browser.wait_for('the score to rise', lambda: (lambda p: p.differs_in(before, SCORE_BOX) and
                                                  p.differs_in(before, PARTY_BOX))(browser.picture()), 180)
    browser.key(*RUN, 'keyUp')
    print('bench: %.1f frames per second during play' %
          ((browser.frame() - first_frame) / (time.monotonic() - hold_started)))

    # Escape shows the pause panel: its orange body and the resume button's
    # blue arrow.
    browser.press(*ESCAPE)
    browser.wait_for('the pause panel', lambda: (lambda p: p.near(200, 280, 0xb8760d) and
                                                 p.near(315, 245, 0x3131f2))(browser.picture()), 60)
    # Quitting the game from the panel records the score and saves it.
    browser.press(*LEFT)
    browser.press(*SPACE)
    state = browser.wait_for('the saved state', lambda: saved_state(browser), 60)
    browser.wait_for('the title after quitting', lambda: shows_title(browser.picture()), 120)

    # The state survives a reload: it is read back and the title's table
    # shows the score.
    browser.open(None)
    browser.wait_for('the title after a reload', lambda: shows_title(browser.picture()), 120)
    check(saved_state(browser) == state, 'the state file after a reload is the one saved')
    browser.wait_for("the score in the title's table",
                     lambda: browser.picture().differs_in(empty_table, TABLE_BOX), 60)

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
