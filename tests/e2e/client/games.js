// Refereed games between vantro-wrapped example engines. The referee is the GUI:
// it keeps the clocks, ponders like a GUI (go ponder, ponderhit or stop) in half
// of the games, and chess.js judges every move and the end. Any illegal, missing
// or late bestmove, crash or loss on time fails the run.
//   node games.js <vantro binary> <output folder> [example name...]
// Prints one line per game; each player's transcript stays in the output folder.
'use strict';
const fs = require('fs');
const path = require('path');
const { spawn } = require('child_process');
const { commandLine, playUci, position, judgeBestmove, Connection, isBestmove, sleep, kSlackMs, kNoMoveNow, Chess } = require('./lib');

const kClock = { base: 5000, inc: 100 };
const kMoveTimeMs = 250;
const kMaxPlies = 240; // adjudicated a draw, keeps the stage's time bounded
const kMinGames = 20;

class Player {
  constructor(example, vantro, dir, ponder) {
    fs.mkdirSync(dir, { recursive: true });
    this.example = example;
    this.dir = dir;
    this.ponder = ponder;
    this.conn = new Connection(spawn(vantro, [example.file], { cwd: dir, stdio: ['pipe', 'pipe', 'inherit'] }));
    this.gos = 0;
    this.pondering = null; // {move, from}: the move pondered on, the line index of its go
  }
  async start() {
    this.conn.send('uci');
    if (!(await this.conn.waitFor((l) => l === 'uciok', 0, 20000))) return 'no uciok';
    this.conn.send(`setoption name Ponder value ${this.ponder}`);
    this.conn.send('setoption name Logfile value true');
    this.conn.send('ucinewgame');
    this.conn.send('isready');
    return (await this.conn.waitFor((l) => l === 'readyok', 0, 30000)) ? null : 'no readyok';
  }
  go(moves, limits) {
    const from = this.conn.lines.length;
    this.conn.send('position startpos' + (moves.length ? ' moves ' + moves.join(' ') : ''));
    this.gos += 1;
    return { sent: this.conn.send('go ' + limits), from };
  }
}

class Game {
  constructor(white, black, movetime) {
    this.players = { w: white, b: black };
    this.movetime = movetime;
    this.chess = new Chess();
    this.moves = [];
    this.clock = { w: kClock.base, b: kClock.base };
    this.fault = null;
  }

  limits(side) {
    if (this.movetime) return `movetime ${kMoveTimeMs}`;
    const c = (n) => Math.max(0, Math.round(n));
    return `wtime ${c(this.clock.w)} btime ${c(this.clock.b)} winc ${kClock.inc} binc ${kClock.inc}`;
  }

  // Starts the side's search (a ponderhit when its ponder move was played) and
  // returns {sent, from}: when the clock started, where its answer can begin.
  async startSearch(p, side) {
    const pondered = p.pondering;
    p.pondering = null;
    if (pondered && pondered.move === this.moves[this.moves.length - 1]) {
      return { sent: p.conn.send('ponderhit'), from: pondered.from };
    }
    if (pondered) {
      const sent = p.conn.send('stop');
      const answer = await p.conn.waitFor(isBestmove, pondered.from, 5000);
      if (!answer || answer.t - sent > kSlackMs) return this.fail(`${p.example.name}: no bestmove in time after stop while pondering`);
      if (!judgeBestmove(position(this.fenBefore, [pondered.move]), answer.text)) {
        return this.fail(`${p.example.name}: illegal "${answer.text}" after stop while pondering`);
      }
    }
    return p.go(this.moves, this.limits(side));
  }

  async play() {
    while (!this.over()) {
      const side = this.chess.turn();
      const p = this.players[side];
      const start = await this.startSearch(p, side);
      if (!start) return;
      const allowed = this.movetime ? kMoveTimeMs : this.clock[side];
      const answer = await p.conn.waitFor(isBestmove, start.from, allowed + 10000);
      if (!answer) return this.fail(`${p.example.name}: no bestmove (${p.conn.exited ? 'vantro ended' : 'hung'})`);
      const elapsed = answer.t - start.sent;
      if (elapsed < 0) return this.fail(`${p.example.name}: bestmove while pondering, before ponderhit`);
      if (elapsed > allowed + kSlackMs) {
        const what = this.movetime ? 'late bestmove' : 'loss on time';
        return this.fail(`${p.example.name}: ${what}, ${elapsed.toFixed(0)} ms with ${allowed.toFixed(0)} allowed`);
      }
      if (!this.movetime) this.clock[side] += kClock.inc - elapsed;
      const resigned = p.conn.lines.slice(start.from, answer.index).some((l) => l.text === 'info string resign');
      if (resigned) return this.end(side === 'w' ? '0-1' : '1-0', `${p.example.name} resigns`);
      const verdict = judgeBestmove(this.chess, answer.text);
      if (!verdict) return this.fail(`${p.example.name}: illegal "${answer.text}" at ply ${this.moves.length + 1}`);
      this.fenBefore = this.chess.fen();
      playUci(this.chess, verdict.best);
      this.moves.push(verdict.best);
      if (p.ponder && verdict.ponder && !this.over()) {
        const { from } = p.go([...this.moves, verdict.ponder], 'ponder ' + this.limits(side));
        p.pondering = { move: verdict.ponder, from };
      }
    }
  }

  over() {
    if (this.result || this.fault) return true;
    const c = this.chess;
    if (c.isCheckmate()) return this.end(c.turn() === 'w' ? '0-1' : '1-0', 'checkmate');
    if (c.isDraw()) return this.end('1/2-1/2', 'draw by the rules');
    if (this.moves.length >= kMaxPlies) return this.end('1/2-1/2', `adjudicated at ${kMaxPlies} plies`);
    return false;
  }

  end(result, reason) {
    this.result = result;
    this.reason = reason;
    return true;
  }

  fail(reason) {
    this.fault = reason;
    this.end('*', reason);
    return null;
  }

  // Every go answered exactly once, then a clean exit on "quit".
  async finish() {
    for (const p of Object.values(this.players)) {
      if (p.pondering && !p.conn.exited) {
        p.conn.send('stop');
        await p.conn.waitFor(isBestmove, p.pondering.from, 5000);
      }
      await sleep(50);
      const crashed = p.conn.exited;
      p.conn.send('quit');
      const exit = await p.conn.waitExit(10000);
      if (crashed) this.fault ??= `${p.example.name}: vantro ended during the game (${JSON.stringify(crashed)})`;
      else if (!exit || exit.code !== 0) this.fault ??= `${p.example.name}: no clean exit after quit (${JSON.stringify(exit)})`;
      const bestmoves = p.conn.lines.filter((l) => isBestmove(l.text)).length;
      if (bestmoves !== p.gos) this.fault ??= `${p.example.name}: ${p.gos} go commands, ${bestmoves} bestmoves`;
      // Only a bestmove's ponder move lets the GUI ponder: every example engine gives them.
      const pondered = p.conn.transcript.some((l) => l.includes(' > go ponder '));
      if (p.ponder && !pondered && this.moves.length >= 20) this.fault ??= `${p.example.name}: no ponder move in ${this.moves.length} plies`;
      fs.writeFileSync(path.join(p.dir, 'transcript.txt'), p.conn.transcript.join('\n') + '\n');
    }
  }
}

// Looks at its input about once a second while it ponders (Phalanx tunes its
// polling so): a move that comes then waits too long for a fixed time.
const kSlowPonder = new Set(['phalanx']);

// A ring of pairings so every engine meets two others, both colours in each.
function schedule(examples) {
  const n = examples.length;
  const pairs = n === 2 ? [[0, 1]] : examples.map((_, i) => [i, (i + 1) % n]);
  const perPair = Math.max(3, Math.ceil(kMinGames / pairs.length));
  const games = [];
  pairs.forEach(([a, b], i) => {
    for (let k = 0; k < perPair; ++k) {
      const swap = (k + i) % 2 === 1;
      const either = (set) => [a, b].some((e) => set.has(examples[e].name));
      const movetime = k % 4 >= 2 && !either(kNoMoveNow);
      const ponder = games.length % 2 === 0 && !(movetime && either(kSlowPonder));
      games.push({ white: swap ? b : a, black: swap ? a : b, movetime, ponder });
    }
  });
  return games;
}

async function main() {
  const { vantro, out, examples } = commandLine('games');
  if (examples.length < 2) {
    console.log('games: fewer than two installed engines');
    process.exit(1);
  }
  let failures = 0;
  for (const [round, g] of schedule(examples).entries()) {
    const dir = path.join(out, `game${round + 1}`);
    const white = new Player(examples[g.white], vantro, path.join(dir, 'white'), g.ponder);
    const black = new Player(examples[g.black], vantro, path.join(dir, 'black'), g.ponder);
    const game = new Game(white, black, g.movetime);
    const begin = performance.now();
    const problem = (await white.start()) || (await black.start());
    if (problem) game.fail(problem);
    else await game.play();
    await game.finish();
    if (game.fault) failures += 1;
    const tc = (g.movetime ? `${kMoveTimeMs} ms a move` : `${kClock.base / 1000}+${kClock.inc / 1000} s`) + (g.ponder ? ', pondering' : '');
    const seconds = ((performance.now() - begin) / 1000).toFixed(1);
    console.log(`game ${round + 1}: ${white.example.name}-${black.example.name} (${tc}) ${game.result}, ${game.fault ? `FAILED: ${game.fault} (logs: ${dir})` : game.reason}, ${game.moves.length} plies, ${seconds} s`);
  }
  console.log(`games: ${failures ? `${failures} FAILED` : 'no faults'}`);
  process.exit(failures ? 1 : 0);
}

main();
