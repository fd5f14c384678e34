// The latency run: mapped keys injected at a steady pace while the edit box's characters are
// timed as they arrive. Latency.TVL maps A..Z to the Cyrillic letters U+0430..U+0449.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/driver/cases.h"
#include "tests/e2e/driver/desk.h"

namespace e2e {

namespace {

constexpr int kLetters = 26;
constexpr wchar_t kFirstMapped = 0x0430;
// How far the matching looks ahead and back for a character out of place.
constexpr int kWindow = 16;

// A key sequence that never repeats a key at once: two quick presses of one key are one press
// counted twice by the engine's multi-press merge, not two characters.
std::vector<int> KeySequence(int count) {
  std::vector<int> keys;
  uint32_t state = 20240607;
  int previous = -1;
  while (static_cast<int>(keys.size()) < count) {
    state = state * 1664525u + 1013904223u;
    const int key = static_cast<int>((state >> 16) % kLetters);
    if (key == previous) continue;
    keys.push_back(key);
    previous = key;
  }
  return keys;
}

struct Tally {
  int lost = 0, doubled = 0, reordered = 0, stray = 0;
  std::vector<double> latencies;
};

// Pairs the characters that arrived with the keys that were sent, in order, and sorts out the
// ones that do not pair.
Tally Match(const std::vector<wchar_t>& expected, const std::vector<double>& sentAt,
            const std::vector<SeenChar>& received) {
  Tally tally;
  const int count = static_cast<int>(expected.size());
  std::vector<bool> matched(expected.size(), false);
  auto take = [&](int index, double at) {
    matched[static_cast<size_t>(index)] = true;
    tally.latencies.push_back(at - sentAt[static_cast<size_t>(index)]);
  };
  int next = 0;
  wchar_t lastMatched = 0;
  for (size_t j = 0; j < received.size(); ++j) {
    const wchar_t c = received[j].unit;
    const double at = received[j].atMs;
    if (next < count && expected[static_cast<size_t>(next)] == c) {
      take(next++, at);
      lastMatched = c;
      continue;
    }
    if (j > 0 && received[j - 1].unit == c && lastMatched == c) {
      ++tally.doubled;
      continue;
    }
    int found = -1;
    for (int s = std::max(0, next - kWindow); s < next && found < 0; ++s) {
      if (!matched[static_cast<size_t>(s)] && expected[static_cast<size_t>(s)] == c) found = s;
    }
    if (found >= 0) {
      take(found, at);
      ++tally.reordered;
      continue;
    }
    for (int q = next + 1; q < std::min(count, next + kWindow) && found < 0; ++q) {
      if (expected[static_cast<size_t>(q)] == c) found = q;
    }
    if (found >= 0) {
      take(found, at);
      next = found + 1;
      lastMatched = c;
      continue;
    }
    ++tally.stray;
  }
  tally.lost = static_cast<int>(std::count(matched.begin(), matched.end(), false));
  return tally;
}

double Percentile(const std::vector<double>& sorted, double fraction) {
  if (sorted.empty()) return 0;
  const size_t rank = static_cast<size_t>(std::ceil(fraction * static_cast<double>(sorted.size())));
  return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
}

}  // namespace

void RunLatency(int keys, int intervalMs) {
  Desk desk;
  Engine engine(desk);
  if (!desk.Open()) {
    Fail("the driver's window could not be created");
    return;
  }
  if (!engine.Start() || !engine.WaitWindow() || !engine.WaitHintShownAndGone() || !desk.Focus()) {
    EndSession(desk, engine);
    return;
  }

  // One key first, untimed: the first character pays for loading fonts and code paths.
  desk.Press('Z');
  desk.WaitUntil([&] { return !desk.Chars().empty(); });
  desk.Pump(kSettle);
  const std::wstring before = desk.Text();
  desk.Chars().clear();

  const std::vector<int> sequence = KeySequence(keys);
  std::vector<wchar_t> expected;
  std::vector<double> sentAt;
  double due = NowMs();
  uint32_t jitter = 7919;
  for (int key : sequence) {
    const double wait = due - NowMs();
    if (wait > 0) desk.Pump(static_cast<DWORD>(wait));
    expected.push_back(static_cast<wchar_t>(kFirstMapped + key));
    sentAt.push_back(NowMs());
    desk.Press(static_cast<ScanWord>('A' + key));
    // Gaps spread over half to one and a half times the interval, so that the presses fall at
    // every point of the engine's 50 ms tick rather than locking onto one.
    jitter = jitter * 1664525u + 1013904223u;
    due += intervalMs * (0.5 + static_cast<double>(jitter >> 8) / static_cast<double>(1u << 24));
  }
  desk.WaitUntil([&] { return desk.Chars().size() >= expected.size(); }, 10000);
  desk.Pump(1000);  // anything doubled or late still arrives

  Tally tally = Match(expected, sentAt, desk.Chars());
  std::sort(tally.latencies.begin(), tally.latencies.end());
  double sum = 0;
  for (double l : tally.latencies) sum += l;
  Note("latency: %d keys, one every %d ms on average, %zu characters arrived", keys, intervalMs, desk.Chars().size());
  if (!tally.latencies.empty()) {
    Note("latency: p50 %.1f ms, p99 %.1f ms, max %.1f ms (min %.1f ms, mean %.1f ms)",
         Percentile(tally.latencies, 0.50), Percentile(tally.latencies, 0.99), tally.latencies.back(),
         tally.latencies.front(), sum / static_cast<double>(tally.latencies.size()));
  }
  Note("characters: lost %d, doubled %d, reordered %d, stray %d", tally.lost, tally.doubled, tally.reordered,
       tally.stray);
  if (tally.lost + tally.doubled + tally.reordered + tally.stray > 0) {
    Fail("not every key arrived exactly once and in order");
  } else {
    Pass("every key arrived exactly once and in order");
  }
  const std::wstring all = desk.Text();
  const std::wstring typed = all.substr(std::min(before.size(), all.size()));
  const std::wstring sent(expected.begin(), expected.end());
  if (typed != sent) {
    size_t at = 0;
    while (at < typed.size() && at < sent.size() && typed[at] == sent[at]) ++at;
    Fail("the edit box holds %zu characters, the keys sent %zu; they differ from character %zu on", typed.size(),
         sent.size(), at);
  }
  EndSession(desk, engine);
}

}  // namespace e2e
