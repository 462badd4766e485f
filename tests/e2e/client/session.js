// A real UCI client (node-uci) drives vantro over every installed example file:
// node-uci's own handshake and option parsing, positions from startpos and FEN,
// every kind of go, pondering, an engine-specific option. Every go must get
// exactly one legal bestmove within the time the GUI allowed plus 100 ms.
//   node session.js <vantro binary> <output folder> [example name...]
'use strict';
const fs = require('fs');
const path = require('path');
const { Engine } = require('node-uci');
const { installedExamples, legalMoves, position, judgeBestmove, isBestmove, sleep, Chess } = require('./lib');

const kSlackMs = 100;
const kUnlimitedMs = 60000; // "go depth" gives no time; a search this long is hung
const kStart = new Chess().fen();
const kMiddle = 'r2q1rk1/pp2bppp/2n1pn2/3p4/3P1B2/2PBPN2/PP1N1PPP/R2QK2R w KQ - 3 9';

function timeout(promise, ms, what) {
  let timer;
  const expired = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error(`${what}: nothing within ${ms} ms`)), ms);
  });
  return Promise.race([promise, expired]).finally(() => clearTimeout(timer));
}

class Session {
  constructor(example, vantro, dir) {
    this.example = example;
    this.dir = dir;
    this.gos = 0;
    this.bestmoves = 0;
    this.faults = [];
    // node-uci starts a program without arguments: a GUI's usual answer is a script.
    const script = path.join(dir, 'vantro.sh');
    fs.writeFileSync(script, `#!/bin/sh\ncd "${dir}" && exec "${vantro}" "${example.file}"\n`, { mode: 0o755 });
    this.engine = new Engine(script);
  }

  async start() {
    await timeout(this.engine.init(), 20000, 'uci');
    let partial = '';
    this.engine.proc.stdout.on('data', (chunk) => {
      const lines = (partial + chunk).split('\n');
      partial = lines.pop();
      this.bestmoves += lines.filter(isBestmove).length;
    });
    const { name } = this.engine.id;
    const wanted = /^\s*Name\s*=\s*(.*?)\s*(;.*)?$/im.exec(fs.readFileSync(this.example.file, 'utf8'));
    if (wanted && name !== wanted[1]) throw new Error(`id name "${name}", file says "${wanted[1]}"`);
    const expected = [['Hash', 'spin'], ['Ponder', 'check'], ...this.example.extras.map((e) => [e.name])];
    for (const [option, type] of expected) {
      const got = this.engine.options.get(option);
      if (!got || (type && got.type !== type)) throw new Error(`option ${option} not announced (${type ?? 'any'})`);
    }
    await timeout(this.engine.setoption('Logfile', 'true'), 10000, 'setoption');
    await timeout(this.engine.isready(), 20000, 'isready');
  }

  // Sends the position and the go, then, when `finish` ("ponderhit" or "stop")
  // is given, that line a moment later; judges the bestmove: legal, and within
  // `allowedMs` of the go or of `finish`. Faults are collected so that one run
  // shows all of them; an illegal move is replaced by a legal one to go on.
  async search(fen, moves, params, allowedMs, finish) {
    await timeout(this.engine.position(fen === kStart ? 'startpos' : fen, moves), 10000, 'position');
    this.gos += 1;
    const what = `go ${JSON.stringify(params)}` + (finish ? `, ${finish}` : '');
    const searching = params.infinite ? this.engine.goInfinite({}) : this.engine.go(params);
    let begin = performance.now();
    if (finish) {
      await sleep(params.infinite ? 500 : 300);
      begin = performance.now();
      // node-uci's ponderhit() waits for a readyok that it misses when the
      // search's first info lines arrive in the same read, and its stop()
      // only ends goInfinite(): the line is written.
      if (!params.infinite) this.engine.write(finish);
    }
    const result = await timeout(params.infinite ? this.engine.stop() : searching, allowedMs + 5000, what);
    const elapsedMs = performance.now() - begin;
    const line = `bestmove ${result.bestmove}` + (result.ponder ? ` ponder ${result.ponder}` : '');
    const game = position(fen, moves);
    let verdict = judgeBestmove(game, line);
    if (!verdict) {
      this.faults.push(`${what}: illegal "${line}" after ${fen} moves ${moves.join(' ')}`);
      verdict = { best: legalMoves(game)[0], ponder: null };
    }
    if (elapsedMs > allowedMs + kSlackMs) {
      this.faults.push(`${what}: bestmove after ${elapsedMs.toFixed(0)} ms, allowed ${allowedMs}`);
    }
    return { ...verdict, depth: Math.max(0, ...result.info.map((i) => i.depth || 0)) };
  }

  // A clock search that must go deeper than a "go depth 3" or other earlier commands.
  async deeper(fen, moves, after) {
    const long = { wtime: 30000, btime: 30000 }; // enough for depth 4 in any engine's budget
    const result = await this.search(fen, moves, long, long.wtime);
    if (result.depth <= 3) this.faults.push(`clock search after ${after} stopped at depth ${result.depth}`);
    return result;
  }

  async run() {
    const clock = { wtime: 20000, btime: 20000, winc: 100, binc: 100 };
    await timeout(this.engine.ucinewgame(), 10000, 'ucinewgame');
    const first = await this.search(kStart, [], clock, clock.wtime);
    const reply = first.ponder || legalMoves(position(kStart, [first.best]))[0];
    const line = ['a2a3', 'a7a6'];
    await this.search(kMiddle, line, { depth: 3 }, kUnlimitedMs);
    await this.deeper(kMiddle, line, '"go depth 3"');
    await this.search(kStart, [first.best], { movetime: 1000 }, 1000);
    await this.search(kMiddle, [], { depth: 3 }, kUnlimitedMs);
    await this.search(kMiddle, [], { infinite: true }, 0, 'stop');
    await timeout(this.engine.ucinewgame(), 10000, 'ucinewgame');
    const after = await this.deeper(kStart, [first.best, reply], '"go depth 3", "go infinite", "stop", "ucinewgame"');
    // "go ponder", then "ponderhit" or, on a miss, "stop" and a search of another reply.
    const hitLine = [first.best, reply, after.best];
    const expected = after.ponder || legalMoves(position(kStart, hitLine))[0];
    const short = { wtime: 10000, btime: 10000 };
    await this.search(kStart, [...hitLine, expected], { ponder: true, ...short }, short.wtime, 'ponderhit');
    await this.search(kStart, [...hitLine, expected], { ponder: true, ...short }, 0, 'stop');
    const other = legalMoves(position(kStart, hitLine)).find((m) => m !== expected);
    await this.search(kStart, [...hitLine, other], short, short.wtime);
    await this.setExtra();
    await sleep(200);
    if (this.bestmoves !== this.gos) this.faults.push(`${this.gos} go commands, ${this.bestmoves} bestmoves`);
    await timeout(this.engine.quit(), 10000, 'quit');
  }

  // An [EXTRAS] option set by the client must reach the engine as its command.
  async setExtra() {
    const extra = this.example.extras[0];
    if (!extra) return;
    const value = extra.type === 'button' ? undefined : extra.value;
    await timeout(this.engine.setoption(extra.name, value), 10000, 'setoption');
    await sleep(200);
    const word = extra.command.split(/\s+/)[0];
    const log = fs.readFileSync(path.join(this.dir, 'Vantro.log'), 'utf8');
    const after = log.slice(log.lastIndexOf(`setoption name ${extra.name}`));
    if (!after.split('\n').some((l) => l.includes(`S< ${word}`))) {
      this.faults.push(`setoption name ${extra.name}: "${word}..." never reached the engine`);
    }
  }
}

async function main() {
  const [vantro, out, ...only] = process.argv.slice(2);
  const { found, missing } = installedExamples();
  for (const name of missing) console.log(`session ${name}: engine not installed, skipped`);
  let failures = 0;
  for (const example of found.filter((e) => !only.length || only.includes(e.name))) {
    const dir = path.join(out, example.name);
    fs.rmSync(dir, { recursive: true, force: true });
    fs.mkdirSync(dir, { recursive: true });
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
