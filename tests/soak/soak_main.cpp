// The long soak: the random walk of tests/soak/SoakWalk.h for hours of virtual time (or a
// number of steps), checking every promise after every step. On a failure it prints the seed,
// the step and the broken promise; with --shrink it also shrinks the walk to the fewest steps
// that break the same promise and prints them, ready to paste into a regression test.
//
//   soak [--hours H] [--steps N] [--seed S] [--max-time-ms M] [--shrink] [--trace]
//   soak --replay FILE [--trace]
//
// --hours: virtual hours to run (default 8); --steps: run exactly N steps instead; --seed: the
// walk (default: a new one, printed); --max-time-ms: the longest pause of one time step
// (default 5000); --trace: print what each step did; --replay: run the steps listed in FILE
// (as --shrink prints them, one "{Action::kOpen, 1u, 2u, 3u}," a line). Exit status 0 when
// every promise held, 1 when one broke.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "SoakWalk.h"

namespace {

void Report(uint64_t seed, const std::vector<vd::soak::Step>& steps,
            const vd::soak::Failure& failure) {
  std::printf(
      "FAILED: seed %llu, step %zu %s: %s\n", static_cast<unsigned long long>(seed), failure.step,
      failure.step < steps.size() ? vd::soak::Describe(steps[failure.step]).c_str() : "(the exit)",
      failure.what.c_str());
}

// The steps of a file written as --shrink prints them.
std::vector<vd::soak::Step> ReadSteps(const std::string& file) {
  std::vector<vd::soak::Step> steps;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    const size_t at = line.find("Action::k");
    if (at == std::string::npos) continue;
    const size_t comma = line.find(',', at);
    if (comma == std::string::npos) continue;
    const std::string name = line.substr(at + 9, comma - at - 9);
    char* next = line.data() + comma + 1;
    uint32_t numbers[3] = {};
    for (uint32_t& n : numbers) {
      n = static_cast<uint32_t>(std::strtoul(next, &next, 10));
      while (*next == 'u' || *next == ',' || *next == ' ') ++next;
    }
    for (int a = 0; a < static_cast<int>(vd::soak::Action::kCount); ++a) {
      const auto action = static_cast<vd::soak::Action>(a);
      if (name == vd::soak::NameOf(action))
        steps.push_back({action, numbers[0], numbers[1], numbers[2]});
    }
  }
  return steps;
}

}  // namespace

int main(int argc, char** argv) {
  double hours = 8;
  long long stepLimit = -1;
  uint64_t seed = std::random_device()();
  uint32_t maxTimeMs = 5000;
  bool shrink = false, trace = false;
  std::string replay;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (arg == "--hours" && value) {
      hours = std::atof(value), ++i;
    } else if (arg == "--steps" && value) {
      stepLimit = std::atoll(value), ++i;
    } else if (arg == "--seed" && value) {
      seed = std::strtoull(value, nullptr, 10), ++i;
    } else if (arg == "--max-time-ms" && value) {
      maxTimeMs = static_cast<uint32_t>(std::strtoul(value, nullptr, 10)), ++i;
    } else if (arg == "--shrink") {
      shrink = true;
    } else if (arg == "--trace") {
      trace = true;
    } else if (arg == "--replay" && value) {
      replay = value, ++i;
    } else {
      std::fprintf(stderr,
                   "usage: %s [--hours H] [--steps N] [--seed S] [--max-time-ms M] [--shrink]\n",
                   argv[0]);
      return 2;
    }
  }
  if (!replay.empty()) {
    const std::vector<vd::soak::Step> steps = ReadSteps(replay);
    vd::soak::Walk walk;
    size_t at = 0;
    if (trace)
      walk.Trace = [&](const std::string& text) { std::printf("%4zu %s\n", at, text.c_str()); };
    for (; at < steps.size(); ++at) {
      const std::string broken = walk.Apply(steps[at]);
      if (!broken.empty()) {
        std::printf("FAILED at step %zu: %s\n", at, broken.c_str());
        return 1;
      }
    }
    const std::string broken = walk.Finish();
    std::printf("%s\n",
                broken.empty() ? "every promise held" : ("FAILED at the exit: " + broken).c_str());
    return broken.empty() ? 0 : 1;
  }
  const uint64_t virtualLimitMs = static_cast<uint64_t>(hours * 3600.0 * 1000.0);
  std::printf("soak: seed %llu, %s, pauses up to %u ms\n", static_cast<unsigned long long>(seed),
              stepLimit >= 0 ? (std::to_string(stepLimit) + " steps").c_str()
                             : (std::to_string(hours) + " virtual hours").c_str(),
              maxTimeMs);
  std::fflush(stdout);

  const auto began = std::chrono::steady_clock::now();
  vd::soak::StepSource source(seed, maxTimeMs);
  std::vector<vd::soak::Step> steps;
  std::optional<vd::soak::Failure> failure;
  uint64_t virtualMs = 0;
  {
    vd::soak::Walk walk;
    if (trace) {
      walk.Trace = [&](const std::string& text) {
        std::printf("%4zu %s\n", steps.size() - 1, text.c_str());
      };
    }
    const uint32_t startTick = walk.Fake().VirtualTimeMs();
    uint64_t nextReport = 3600 * 1000;
    for (;;) {
      if (stepLimit >= 0 ? static_cast<long long>(steps.size()) >= stepLimit
                         : virtualMs >= virtualLimitMs) {
        break;
      }
      steps.push_back(source.Next());
      std::string broken = walk.Apply(steps.back());
      virtualMs = static_cast<uint32_t>(walk.Fake().VirtualTimeMs() - startTick);
      if (!broken.empty()) {
        failure = vd::soak::Failure{steps.size() - 1, broken};
        break;
      }
      if (virtualMs >= nextReport) {
        nextReport += 3600 * 1000;
        const double real =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        std::printf("soak: %.1f virtual hours, %zu steps, %zu windows opened, %d managed, %.0f s\n",
                    static_cast<double>(virtualMs) / 3.6e6, steps.size(), walk.WindowsOpened(),
                    walk.P().Table.Count(), real);
        std::fflush(stdout);
      }
    }
    if (!failure) {
      std::string broken = walk.Finish();
      if (!broken.empty()) failure = vd::soak::Failure{steps.size(), broken};
    }
  }
  const double real =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  if (!failure) {
    std::printf("soak: every promise held: %zu steps, %.2f virtual hours, %.0f s\n", steps.size(),
                static_cast<double>(virtualMs) / 3.6e6, real);
    return 0;
  }
  Report(seed, steps, *failure);
  if (shrink) {
    steps.resize(std::min(steps.size(), failure->step + 1));
    std::printf("soak: shrinking %zu steps...\n", steps.size());
    std::fflush(stdout);
    const std::vector<vd::soak::Step> fewest =
        vd::soak::Shrink(steps, vd::soak::KindOf(failure->what));
    const auto again = vd::soak::RunWalk(fewest);
    std::printf("soak: %zu steps break it%s%s:\n", fewest.size(), again ? ": " : "",
                again ? again->what.c_str() : "");
    for (const vd::soak::Step& s : fewest) std::printf("    %s,\n", vd::soak::Describe(s).c_str());
  }
  return 1;
}
