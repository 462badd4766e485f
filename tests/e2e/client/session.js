// A real UCI client (node-uci) drives vantro over every installed example file:
// node-uci's own handshake and option parsing, positions from startpos and FEN,
// every kind of go (fixed times from 200 ms), a mate in one right after a depth
// limit. Every go must get exactly one legal bestmove within the time the GUI
// allowed plus 100 ms. (The refereed games ponder: "go ponder", then
// "ponderhit" or "stop".)
//   node session.js <vantro binary> <output folder> [example name...]
'use strict';
const fs = require('fs');
const path = require('path');
const { Engine } = require('node-uci');
const { commandLine, legalMoves, position, judgeBestmove, Connection, isBestmove, sleep, kSlackMs, kNoMoveNow, Chess } = require('./lib');

const kUnlimitedMs = 60000; // "go depth" gives no time; a search this long is hung
const kStart = new Chess().fen();
const kMiddle = 'r2q1rk1/pp2bppp/2n1pn2/3p4/3P1B2/2PBPN2/PP1N1PPP/R2QK2R w KQ - 3 9';
const kLong = { wtime: 30000, btime: 30000 }; // enough for depth 4 in any engine's budget
const kMateInOne = ['e2e4', 'e7e5', 'f1c4', 'b8c6', 'd1h5', 'g8f6']; // h5f7

// `promise`, or a rejection after `ms` that names `what`.
const timeout = (promise, ms, what) =>
  Promise.race([promise, sleep(ms, null, { ref: false }).then(() => Promise.reject(new Error(`${what}: nothing within ${ms} ms`)))]);

class Session {
  constructor(example, vantro, dir) {
    this.example = example;
    this.dir = dir;
    this.gos = 0;
    this.faults = [];
    // node-uci starts a program without arguments: a GUI's usual answer is a script.
    const script = path.join(dir, 'vantro.sh');
    fs.writeFileSync(script, `#!/bin/sh\ncd "${dir}" && exec "${vantro}" "${example.file}"\n`, { mode: 0o755 });
    this.engine = new Engine(script);
  }

  async start() {
    await timeout(this.engine.init(), 20000, 'uci');
    this.conn = new Connection(this.engine.proc);
    const { name } = this.engine.id;
    if (this.example.title && name !== this.example.title) throw new Error(`id name "${name}", file says "${this.example.title}"`);
    const expected = [['Hash', 'spin'], ['Ponder', 'check'], ...this.example.extras.map((name) => [name])];
    for (const [option, type] of expected) {
      const got = this.engine.options.get(option);
      if (!got || (type && got.type !== type)) throw new Error(`option ${option} not announced (${type ?? 'any'})`);
    }
    await timeout(this.engine.setoption('Logfile', 'true'), 10000, 'setoption');
    await timeout(this.engine.isready(), 20000, 'isready');
  }

  // Sends the position and the go ("stop" a moment after "go infinite"); judges
  // the bestmove: legal, and within the time the go allows (none after "stop");
  // a `deeper` search must pass depth 3. Faults are collected so that one run
  // shows all of them; an illegal move is replaced by a legal one to go on.
  async search(fen, moves, params, deeper) {
    await timeout(this.engine.position(fen === kStart ? 'startpos' : fen, moves), 10000, 'position');
    this.gos += 1;
    let allowedMs = params.infinite ? 0 : params.movetime ?? params.wtime ?? kUnlimitedMs;
    if (params.movetime && kNoMoveNow.has(this.example.name)) allowedMs = Math.max(1, Math.round(params.movetime / 1000)) * 1000;
    const what = `go ${JSON.stringify(params)}`;
    const from = this.conn.lines.length;
    // The bestmove is read from the lines: node-uci misses it when the engine's
    // result ("info string 1-0 {White mates}") follows in the same read.
    const searching = params.infinite ? this.engine.goInfinite() : this.engine.go(params).catch(() => {});
    let begin = performance.now();
    if (params.infinite) {
      await sleep(500);
      begin = performance.now();
      this.engine.write('stop'); // node-uci's stop() reads the bestmove as its go() does
    }
    const answer = await this.conn.waitFor(isBestmove, from, allowedMs + 5000);
    if (params.infinite) searching.emit('stop');
    if (!answer) throw new Error(`${what}: no bestmove within ${allowedMs + 5000} ms`);
    const elapsedMs = answer.t - begin;
    const info = this.conn.lines.slice(from, answer.index).map((l) => l.text);
    const game = position(fen, moves);
    const verdict = judgeBestmove(game, answer.text);
    if (!verdict) this.faults.push(`${what}: illegal "${answer.text}" after ${fen} moves ${moves.join(' ')}`);
    if (elapsedMs < 0) this.faults.push(`${what}: bestmove before "stop"`);
    if (elapsedMs > allowedMs + kSlackMs) {
      this.faults.push(`${what}: bestmove after ${elapsedMs.toFixed(0)} ms, allowed ${allowedMs}`);
    }
    const depth = Math.max(0, ...info.map((l) => Number(/ depth (\d+)/.exec(l)?.[1] ?? 0)));
    if (deeper && depth <= 3) this.faults.push(`clock search after ${deeper} stopped at depth ${depth}`);
    return { best: verdict?.best ?? legalMoves(game)[0], info };
  }

  async run() {
    await timeout(this.engine.ucinewgame(), 10000, 'ucinewgame');
    const first = await this.search(kStart, [], { wtime: 20000, btime: 20000, winc: 100, binc: 100 });
    const line = ['a2a3', 'a7a6'];
    await this.search(kMiddle, line, { depth: 3 });
    await this.search(kMiddle, line, kLong, '"go depth 3"');
    for (const movetime of [300, 200]) await this.search(kStart, [first.best], { movetime });
    // Fairy-Max under too deep a depth limit never ends the search of a mate.
    await this.search(kMiddle, [], { depth: 3 });
    const mate = await this.search(kStart, kMateInOne, { movetime: 1000 });
    if (mate.best !== 'h5f7' || !mate.info.some((l) => l.includes(' score mate 1 '))) {
      this.faults.push(`mate in one after "go depth 3": "${mate.best}", no "score mate 1"`);
    }
    await this.search(kMiddle, [], { depth: 3 });
    await this.search(kMiddle, [], { infinite: true });
    await timeout(this.engine.ucinewgame(), 10000, 'ucinewgame');
    // From a position out of any opening book, which engines answer at depth 1.
    await this.search(kMiddle, line, kLong, '"go depth 3", "go infinite", "stop", "ucinewgame"');
    await sleep(200);
    const bestmoves = this.conn.lines.filter((l) => isBestmove(l.text)).length;
    if (bestmoves !== this.gos) this.faults.push(`${this.gos} go commands, ${bestmoves} bestmoves`);
    await timeout(this.engine.quit(), 10000, 'quit');
  }
}

async function main() {
  const { vantro, out, examples } = commandLine('session');
  let failures = 0;
  for (const example of examples) {
    const dir = path.join(out, example.name);
    fs.mkdirSync(dir);
    const session = new Session(example, vantro, dir);
    const begin = performance.now();
    try {
      await session.start();
      await session.run();
      if (session.faults.length) throw new Error(session.faults.pop());
      console.log(`session ${example.name}: ok, ${session.gos} go, ${((performance.now() - begin) / 1000).toFixed(1)} s`);
    } catch (e) {
      failures += 1;
      const why = [...session.faults, e?.message ?? `vantro ended (${e})`];
      console.log(`session ${example.name}: FAILED (log: ${dir}/Vantro.log)\n  ${[...new Set(why)].join('\n  ')}`);
      session.engine.proc?.kill('SIGKILL');
    }
  }
  process.exit(failures ? 1 : 0);
}

main();
