// What the client session and the refereed games share: the example files whose
// engines are installed, the legality judge, and a line-level UCI connection with
// time stamps (the games need exact timing, which node-uci does not expose).
'use strict';
const fs = require('fs');
const path = require('path');
const { spawn } = require('child_process');
const { Chess } = require('chess.js');

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const isBestmove = (text) => text.startsWith('bestmove ');

// [{name, file, extras: [{name, command, type, value}]}] for every example whose
// program exists here; the others are listed in `missing`.
function installedExamples() {
  const dir = path.resolve(__dirname, '../../../examples');
  const found = [];
  const missing = [];
  for (const f of fs.readdirSync(dir).filter((f) => f.endsWith('.eng')).sort()) {
    const text = fs.readFileSync(path.join(dir, f), 'utf8');
    const program = /^\s*Program\s*=\s*(\S+)/im.exec(text)?.[1] ?? '';
    const places = program.includes('/') ? [dir] : (process.env.PATH || '').split(':').filter(Boolean);
    const name = path.basename(f, '.eng');
    if (!program || !places.some((p) => fs.existsSync(path.resolve(p, program)))) {
      missing.push(name);
      continue;
    }
    const extras = [];
    const section = /^\s*\[EXTRAS\]\s*$([\s\S]*?)(^\s*\[|(?![\s\S]))/im.exec(text);
    for (const line of section ? section[1].split('\n') : []) {
      const m = /^\s*([^;=][^=]*?)\s*=\s*([^|]*)\|([a-z]+)\|?([^|;]*)/.exec(line);
      if (m) extras.push({ name: m[1], command: m[2].trim(), type: m[3], value: m[4].trim() });
    }
    found.push({ name, file: path.join(dir, f), extras });
  }
  return { found, missing };
}

// The UCI text of every legal move in the position of `game` (a chess.js game).
function legalMoves(game) {
  return game.moves({ verbose: true }).map((m) => m.from + m.to + (m.promotion || ''));
}

// Plays a UCI move on `game`; false (and no change) when it is not legal there.
// chess.js accepts a promotion letter on any move, so that case is checked here.
function playUci(game, move) {
  if (!/^[a-h][1-8][a-h][1-8][nbrq]?$/.test(move)) return false;
  try {
    const made = game.move({ from: move.slice(0, 2), to: move.slice(2, 4), promotion: move[4] });
    if (move.length === 5 && !made.promotion) game.undo();
    return move.length === 4 || !!made.promotion;
  } catch {
    return false;
  }
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
  const w = line.trim().split(/\s+/);
  if (w[0] !== 'bestmove' || !playUci(game, w[1] || '')) return null;
  const ponderOk = w[2] !== 'ponder' || playUci(game, w[3] || '');
  if (w[2] === 'ponder' && ponderOk) game.undo();
  game.undo();
  return ponderOk ? { best: w[1], ponder: w[2] === 'ponder' ? w[3] : null } : null;
}

// One UCI engine process with every line it writes kept with its arrival time.
class Connection {
  constructor(command, args, cwd) {
    this.lines = [];
    this.transcript = [];
    this.t0 = performance.now();
    this.waiters = [];
    this.exited = null;
    this.proc = spawn(command, args, { cwd, stdio: ['pipe', 'pipe', 'inherit'] });
    let partial = '';
    this.proc.stdout.setEncoding('utf8');
    this.proc.stdout.on('data', (chunk) => {
      const now = performance.now();
      const parts = (partial + chunk).split('\n');
      partial = parts.pop();
      for (const raw of parts) {
        const text = raw.replace(/\r$/, '');
        this.lines.push({ text, t: now });
        this.log(text, '<', now);
      }
    });
    this.proc.on('exit', (code, signal) => {
      this.exited = { code, signal };
      this.log();
    });
    this.proc.stdin.on('error', () => {});
  }
  // Notes a line in the transcript (when given) and wakes the waiters.
  log(text, direction, t) {
    if (direction) this.transcript.push(`${(t - this.t0).toFixed(0)} ${direction} ${text}`);
    for (const w of this.waiters.splice(0)) w();
  }
  send(text) {
    const t = performance.now();
    this.log(text, '>', t);
    if (!this.exited) this.proc.stdin.write(text + '\n');
    return t;
  }
  // The first line at index >= from whose text passes `test`, or null after
  // `timeoutMs` or the process's end. Resolves to {text, t, index}.
  async waitFor(test, from, timeoutMs) {
    const deadline = performance.now() + timeoutMs;
    for (let i = from; ; ) {
      for (; i < this.lines.length; ++i) {
        if (test(this.lines[i].text)) return { ...this.lines[i], index: i };
      }
      const left = deadline - performance.now();
      if (left <= 0 || this.exited) return null;
      await new Promise((resolve) => {
        const timer = setTimeout(resolve, left);
        this.waiters.push(() => {
          clearTimeout(timer);
          resolve();
        });
      });
    }
  }
  async waitExit(timeoutMs) {
    if (!this.exited) await this.waitFor(() => false, this.lines.length, timeoutMs);
    if (!this.exited) this.proc.kill('SIGKILL');
    return this.exited;
  }
}

module.exports = { installedExamples, legalMoves, playUci, position, judgeBestmove, Connection, isBestmove, sleep, Chess };
