// bridge_bench: the end-to-end benchmark. A client drives, side by side and
// in alternating rounds, an engine that answers at once joined to it through
//   direct  nothing (the client talks to the UCI engine itself),
//   relay   a raw line relay process (the floor for any adapter),
//   peer    polyglot, when installed: the established adapter of the opposite
//           direction, so the client speaks xboard to it and it drives the
//           same UCI engine (the mirror image of Vantro's arrangement),
//   vantro  Vantro (Protocol=1, InitTime=0, no log) over the fake engine in
//           instant mode.
// It prints medians, p90, p99 and ratios to the relay, the bridge process's
// CPU time (all its threads, from /proc), idle CPU and resident memory.
//   bridge_bench [--quick] [--rounds N] [--idle SECONDS]
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "bench_client.h"

namespace {

using namespace vantro::bench;

struct Options {
  int rounds = 10;
  int full = 2000;
  int incremental = 500;
  int floodSearches = 50;
  int floodLines = 1000;
  int stops = 200;
  int idleSeconds = 10;
};

struct Tally {
  std::vector<double> values;  // per search: µs, or ns per line for floods
  std::uint64_t cpuNs = 0;
  long searches = 0;
  long lines = 0;
  bool failed = false;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::string text;
  std::getline(in, text);
  return text;
}

double Percentile(std::vector<double> v, double q) {
  if (v.empty()) return NAN;
  std::sort(v.begin(), v.end());
  std::size_t rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(v.size())));
  return v[std::min(v.size() - 1, rank == 0 ? 0 : rank - 1)];
}

class Bench {
 public:
  Bench(Options options, std::string dir) : o_(options), dir_(std::move(dir)) {
    polyglot_ = FindProgram("polyglot");
  }

  void Run() {
    std::printf("load average before: %s\n", ReadFile("/proc/loadavg").c_str());
    std::printf("peer adapter: %s\n\n",
                polyglot_.empty() ? "polyglot not installed, skipped" : polyglot_.c_str());
    LatencyPhase("full set-up: position startpos + go -> bestmove", o_.full, 1,
                 [](BridgeClient& c) { return c.FullSearch({}); });
    LatencyPhase("incremental: one more move per search", o_.incremental, 1,
                 [](BridgeClient& c) { return c.IncrementalSearch(); });
    FloodPhase(0);
    FloodPhase(300);
    auto clients = Start(1, true);
    Report("stop -> bestmove (engine holds its move until told)", clients,
           Measure(
               clients, o_.stops, [](BridgeClient& c) { return c.StopSearch(); }, false),
           false);
    Idle(clients);
    std::printf("load average after: %s\n", ReadFile("/proc/loadavg").c_str());
  }

 private:
  using Clients = std::vector<std::unique_ptr<BridgeClient>>;
  using Search = std::function<std::optional<SearchResult>(BridgeClient&)>;

  Clients Start(int lines, bool wait) {
    std::vector<std::string> engine = {UCI_ENGINE_BINARY, "--lines", std::to_string(lines)};
    if (wait) engine.push_back("--wait");
    std::vector<BridgeSetup> setups;
    setups.push_back({"direct", engine, dir_, false, false});
    std::vector<std::string> relay = {RELAY_BINARY};
    relay.insert(relay.end(), engine.begin(), engine.end());
    setups.push_back({"relay", relay, dir_, false, true});
    if (!polyglot_.empty()) {
      std::string command;
      for (const std::string& w : engine) command += (command.empty() ? "" : " ") + w;
      setups.push_back({"peer", {polyglot_, "-noini", "-ec", command}, dir_, true, true});
    }
    std::ofstream(dir_ + "/engine.txt") << "mode instant\nseed 1\nthink-lines " << lines << "\n"
                                        << (wait ? "move-delay 86400000 86400000\n" : "");
    std::ofstream(dir_ + "/bench.eng")
        << "[ENGINE]\nName=Instant\n[OPTIONS]\nProgram=" << FAKE_ENGINE_BINARY << " --script "
        << dir_ << "/engine.txt\nProtocol=1\nInitTime=0\n";
    setups.push_back({"vantro", {VANTRO_BINARY, dir_ + "/bench.eng"}, dir_, false, true});
    Clients clients;
    for (const BridgeSetup& s : setups) {
      clients.push_back(std::make_unique<BridgeClient>(s));
      if (!clients.back()->Ready()) std::printf("%s: did not start\n", s.name.c_str());
    }
    return clients;
  }

  // Each round gives every configuration its share in turn, starting with a
  // different one each round, so that load changes hit all alike.
  std::vector<Tally> Measure(Clients& clients, int total, const Search& search, bool flood) {
    std::vector<Tally> tallies(clients.size());
    int perRound = std::max(1, total / o_.rounds);
    for (int round = 0; round < o_.rounds; ++round) {
      for (std::size_t k = 0; k < clients.size(); ++k) {
        std::size_t i = (round + k) % clients.size();
        BridgeClient& c = *clients[i];
        Tally& t = tallies[i];
        if (!c.Ready() || t.failed) continue;
        std::uint64_t cpu = ProcessCpuNs(c.Pid());
        for (int n = 0; n < perRound; ++n) {
          auto r = search(c);
          if (!r || (flood && r->pvLines < 2)) {
            t.failed = true;
            break;
          }
          t.values.push_back(flood ? r->lineSpanUs * 1000.0 / r->pvLines : r->micros);
          t.lines += r->pvLines;
          ++t.searches;
        }
        t.cpuNs += ProcessCpuNs(c.Pid()) - cpu;
      }
    }
    return tallies;
  }

  void LatencyPhase(const char* title, int total, int lines, const Search& search) {
    auto clients = Start(lines, false);
    Report(title, clients, Measure(clients, total, search, false), false);
  }

  void FloodPhase(int ply) {
    auto clients = Start(o_.floodLines, false);
    std::vector<std::string> game = RandomGame(ply, 1);
    char title[128];
    std::snprintf(title, sizeof title, "thinking output: %d lines per search, at ply %d",
                  o_.floodLines, ply);
    Report(
        title, clients,
        Measure(
            clients, o_.floodSearches, [&](BridgeClient& c) { return c.FullSearch(game); }, true),
        true);
    if (ply > 0) {
      std::printf("memory after the floods (kB):");
      for (auto& c : clients) {
        if (!c->Setup().ownProcess || !c->Ready()) continue;
        Memory m = ProcessMemory(c->Pid());
        std::printf("  %s rss %ld peak %ld", c->Setup().name.c_str(), m.rssKb, m.peakKb);
      }
      std::printf("\n\n");
    }
  }

  void Report(const char* title, Clients& clients, const std::vector<Tally>& t, bool flood) {
    std::printf("== %s\n", title);
    if (flood) {
      std::printf("%-8s %10s %9s %9s %9s %8s %11s %8s %7s\n", "config", "lines/s", "ns/line", "p90",
                  "p99", "x relay", "cpu ns/line", "x relay", "lines");
    } else {
      std::printf("%-8s %9s %9s %9s %9s %9s %10s %8s %6s\n", "config", "median us", "p90", "p99",
                  "x relay", "p99 x", "cpu us/op", "x relay", "n");
    }
    std::size_t relay = 1;  // the relay is always second
    auto median = [&](std::size_t i) { return Percentile(t[i].values, 0.5); };
    auto cpu = [&](std::size_t i) {
      if (!clients[i]->Setup().ownProcess || t[i].searches == 0) return std::nan("");
      double per = flood ? static_cast<double>(t[i].lines) : static_cast<double>(t[i].searches);
      return static_cast<double>(t[i].cpuNs) / per / (flood ? 1.0 : 1000.0);
    };
    for (std::size_t i = 0; i < clients.size(); ++i) {
      const char* name = clients[i]->Setup().name.c_str();
      if (t[i].values.empty()) {
        std::printf("%-8s failed\n", name);
        continue;
      }
      double m = median(i), p90 = Percentile(t[i].values, 0.9), p99 = Percentile(t[i].values, 0.99);
      if (flood) {
        std::printf("%-8s %10.0f %9.0f %9.0f %9.0f %8.2f %11.0f %8.2f %7.0f%s\n", name, 1e9 / m, m,
                    p90, p99, median(relay) / m, cpu(i), cpu(i) / cpu(relay),
                    static_cast<double>(t[i].lines) / t[i].searches, t[i].failed ? " FAILED" : "");
      } else {
        std::printf("%-8s %9.1f %9.1f %9.1f %9.2f %9.2f %10.1f %8.2f %6zu%s\n", name, m, p90, p99,
                    m / median(relay), p99 / Percentile(t[relay].values, 0.99), cpu(i),
                    cpu(i) / cpu(relay), t[i].values.size(), t[i].failed ? " FAILED" : "");
      }
    }
    std::printf("\n");
  }

  void Idle(Clients& clients) {
    std::vector<std::uint64_t> before;
    for (auto& c : clients) before.push_back(ProcessCpuNs(c->Pid()));
    std::this_thread::sleep_for(std::chrono::seconds(o_.idleSeconds));
    std::printf("== idle %d s, after the searches\n", o_.idleSeconds);
    for (std::size_t i = 0; i < clients.size(); ++i) {
      if (!clients[i]->Setup().ownProcess || !clients[i]->Ready()) continue;
      double ms = static_cast<double>(ProcessCpuNs(clients[i]->Pid()) - before[i]) / 1e6;
      Memory m = ProcessMemory(clients[i]->Pid());
      std::printf("%-8s cpu %.3f ms (%.4f %%)  rss %ld kB  peak %ld kB\n",
                  clients[i]->Setup().name.c_str(), ms, ms / (o_.idleSeconds * 10.0), m.rssKb,
                  m.peakKb);
    }
    std::printf("\n");
  }

  Options o_;
  std::string dir_;
  std::string polyglot_;
};

}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quick") == 0) {
      o = Options{5, 200, 100, 10, 1000, 50, 2};
    } else if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
      o.rounds = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--idle") == 0 && i + 1 < argc) {
      o.idleSeconds = std::max(1, std::atoi(argv[++i]));
    } else {
      std::fprintf(stderr, "usage: bridge_bench [--quick] [--rounds N] [--idle SECONDS]\n");
      return 2;
    }
  }
  char dir[] = "/tmp/vantro-bench-XXXXXX";
  if (mkdtemp(dir) == nullptr) return 1;
  Bench(o, dir).Run();
  std::filesystem::remove_all(dir);
  return 0;
}
