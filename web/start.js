// Starts Tarvolan in the page: the canvas it draws on, the folder that keeps
// the saved state in the browser's storage, and what the page shows when the
// program ends. The program's JavaScript reads this Module object.
'use strict';

// The last lines the program wrote, shown if it stops on an error.
const reportLines = [];
const kReportLines = 40;
const kStateFolder = '/state';  // the state file's folder (host/file_layout.cpp)

function keepReportLine(line) {
  reportLines.push(line);
  if (reportLines.length > kReportLines) reportLines.shift();
}

// Once: the canvas goes, the page says why. A clean end says how to play
// again; any other end shows the program's report here and on the console.
function endProgram(status, reason) {
  if (document.body.classList.contains('ended')) return;
  if (Module.pauseMainLoop) Module.pauseMainLoop();
  if (document.fullscreenElement) document.exitFullscreen();
  const message = document.getElementById('message');
  if (status === 0) {
    message.textContent = 'Tarvolan has ended \u2014 reload the page to play again';
  } else {
    const report = reportLines.concat(reason ? [String(reason)] : []).join('\n');
    message.textContent = 'Tarvolan stopped on an error \u2014 reload the page to play again\n\n' + report;
    console.error('Tarvolan stopped on an error:\n' + report);
  }
  document.body.classList.add('ended');
}

// The state folder lives in the browser's storage; the program starts once
// what an earlier visit saved there is loaded.
function mountStateFolder() {
  const FS = Module.FS;
  FS.mkdir(kStateFolder);
  FS.mount(FS.filesystems.IDBFS, {}, kStateFolder);
  Module.addRunDependency('saved state');
  FS.syncfs(true, function(error) {
    if (error) console.warn('Tarvolan starts without its saved state: ' + error);
    Module.removeRunDependency('saved state');
  });
}

var Module = {
  canvas: document.getElementById('canvas'),
  print: function(line) { console.log(line); keepReportLine(line); },
  printErr: function(line) { console.warn(line); keepReportLine(line); },
  // Nothing to read on standard input: a program stopped on an error ends.
  stdin: function() { return null; },
  preRun: [mountStateFolder],
  // An exception that stopped a frame is the reason; an exit has none.
  quit: function(status, toThrow) {
    endProgram(status, toThrow instanceof Error ? toThrow : undefined);
    throw toThrow;
  },
  ended: endProgram,
  onAbort: function(what) { endProgram(1, what); },
};

// F11 is the game's full screen, not the browser's.
window.addEventListener('keydown', function(event) {
  if (event.key === 'F11') event.preventDefault();
}, true);
