// What the client session and the refereed games share: their command line with
// the example files whose engines are installed, the legality judge, and the
// engine's lines with their arrival times (node-uci exposes no times, and sees a
// bestmove only as the last line of a read).
'use strict';
const fs = require('fs');
const path = require('path');
const { EventEmitter, once } = require('events');
const readline = require('readline');
const { Chess } = require('chess.js');

const kSlackMs = 100; // what a bestmove may come after the time the GUI allowed
// No move-now while it thinks, so a fixed time under a second cannot be kept:
// HoiChess takes "st" in whole seconds only, and Fairy-Max ends an iteration
// it has begun (once 467 ms of a 250 ms move, its own clock at 25 cs).
const kNoMoveNow = new Set(['hoichess', 'fairymax']);
const { setTimeout: sleep } = require('timers/promises');
const isBestmove = (text) => text.startsWith('bestmove ');

// `node <script> <vantro binary> <output folder> [example name...]`: the binary,
// the output folder (made afresh) and the examples named (all by default) as
// [{name, file, title, extras: [the names of its [EXTRAS] options]}]; an example
// whose program is not installed here is reported as skipped.
function commandLine(what) {
  const [vantro, out, ...only] = process.argv.slice(2);
  fs.rmSync(out, { recursive: true, force: true });
  fs.mkdirSync(out, { recursive: true });
  const dir = path.resolve(__dirname, '../../../examples');
  const examples = [];
  for (const f of fs.readdirSync(dir).filter((f) => f.endsWith('.eng')).sort()) {
    const name = path.basename(f, '.eng');
    if (only.length && !only.includes(name)) continue;
    const text = fs.readFileSync(path.join(dir, f), 'utf8');
    const program = /^\s*Program\s*=\s*(\S+)/im.exec(text)?.[1] ?? '';
    const places = program.includes('/') ? [dir] : (process.env.PATH || '').split(':').filter(Boolean);
    if (!program || !places.some((p) => fs.existsSync(path.resolve(p, program)))) {
      console.log(`${what} ${name}: engine not installed, skipped`);
      continue;
    }
    const extras = [];
    const section = /^\s*\[EXTRAS\]\s*$([\s\S]*?)(^\s*\[|(?![\s\S]))/im.exec(text);
    for (const line of section ? section[1].split('\n') : []) {
      const m = /^\s*([^;=][^=]*?)\s*=/.exec(line);
      if (m) extras.push(m[1]);
    }
    const title = /^\s*Name\s*=\s*(.*?)\s*(;.*)?$/im.exec(text)?.[1];
    examples.push({ name, file: path.join(dir, f), title, extras });
  }
  return { vantro, out, examples };
}

// The UCI text of every legal move in the position of `game` (a chess.js game).
function legalMoves(game) {
  return game.moves({ verbose: true }).map((m) => m.lan);
}

// Plays a UCI move on `game`; false (and no change) when it is not legal there.
// Checked against the list: chess.js also takes "e7e8" for a promotion.
function playUci(game, move) {
  const legal = legalMoves(game).includes(move);
  if (legal) game.move({ from: move.slice(0, 2), to: move.slice(2, 4), promotion: move[4] });
  return legal;
}

// The game from `fen` after the legal ones of `moves`.
function position(fen, moves) {
  const game = new Chess(fen);
  for (const m of moves) playUci(game, m);
  return game;
}

// "bestmove X [ponder Y]" in the position of `game`, which is left unchanged:
// null when X is illegal, or Y is given but illegal after X.
function judgeBestmove(game, line) {
  const [word, best, ponderWord, ponder] = line.trim().split(/\s+/);
  const after = new Chess(game.fen());
  if (word !== 'bestmove' || !playUci(after, best)) return null;
  if (ponderWord !== 'ponder') return { best, ponder: null };
  return playUci(after, ponder) ? { best, ponder } : null;
}

// The lines of a UCI engine process (`proc`, its stdin and stdout piped), each
// kept with its arrival time; each line either way, and the process's end, is
// announced as 'change'.
class Connection extends EventEmitter {
  constructor(proc) {
    super();
    this.lines = [];
    this.transcript = [];
    this.t0 = performance.now();
    this.exited = null;
    this.proc = proc;
    this.proc.stdin.on('error', () => {});
    readline.createInterface({ input: this.proc.stdout }).on('line', (text) => {
      this.lines.push({ text, t: performance.now() });
      this.note('<', text);
    });
    this.proc.on('exit', (code, signal) => {
      this.exited = { code, signal };
      this.emit('change');
    });
  }
  // Notes a line in the transcript; returns its time.
  note(direction, text) {
    const t = performance.now();
    this.transcript.push(`${(t - this.t0).toFixed(0)} ${direction} ${text}`);
    this.emit('change');
    return t;
  }
  send(text) {
    const t = this.note('>', text);
    if (!this.exited) this.proc.stdin.write(text + '\n');
    return t;
  }
  // The first line at index >= from whose text passes `test`, or null after
  // `timeoutMs` or the process's end. Resolves to {text, t, index}.
  async waitFor(test, from, timeoutMs) {
    const signal = AbortSignal.timeout(Math.max(0, Math.ceil(timeoutMs)));
    for (let i = from; ; ++i) {
      while (i >= this.lines.length) {
        if (signal.aborted || this.exited) return null;
        await once(this, 'change', { signal }).catch(() => {});
      }
      if (test(this.lines[i].text)) return { ...this.lines[i], index: i };
    }
  }
  async waitExit(timeoutMs) {
    if (!this.exited) await this.waitFor(() => false, this.lines.length, timeoutMs);
    if (!this.exited) this.proc.kill('SIGKILL');
    return this.exited;
  }
}

module.exports = { commandLine, legalMoves, playUci, position, judgeBestmove, Connection, isBestmove, sleep, kSlackMs, kNoMoveNow, Chess };
