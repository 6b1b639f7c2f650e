// The headless script: parsing, the command table and the core commands.
#include "platform/headless/script.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "platform/clock.h"
#include "platform/headless.h"
#include "platform/internal.h"
#include "platform/window.h"

namespace platform::headless {
namespace {

struct Command {
  int minArgs = 0;
  int maxArgs = 0;
  ScriptCheck check = nullptr;
  ScriptRun run = nullptr;
};

std::map<std::string, Command>& commands() {
  static std::map<std::string, Command> table;
  return table;
}

std::recursive_mutex& scriptMutex() {
  static std::recursive_mutex m;
  return m;
}

struct ScriptState {
  std::vector<ScriptLine> lines;
  std::vector<bool> done;
  uint64_t step = 0;
  std::vector<uint64_t> quitAt;  // steps at which quit-after posts its quit
};
ScriptState g_state;
CaptureHandler g_capture = nullptr;

constexpr size_t kMaxLineLength = 4096;

// Parses a decimal number with an optional fraction of up to 6 digits, scaled
// by 10^6 (milliseconds -> nanoseconds). False on anything else or overflow.
bool parseMillis(const std::string& text, uint64_t* ns) {
  if (text.empty()) return false;
  uint64_t whole = 0;
  size_t i = 0;
  for (; i < text.size() && text[i] != '.'; ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return false;
    if (whole > (UINT64_MAX / 10 - 9) / 1000000ull) return false;
    whole = whole * 10 + static_cast<uint64_t>(c - '0');
  }
  if (i == 0) return false;
  uint64_t frac = 0;
  int digits = 0;
  if (i < text.size()) {
    ++i;  // '.'
    if (i == text.size()) return false;
    for (; i < text.size(); ++i) {
      char c = text[i];
      if (c < '0' || c > '9' || digits == 6) return false;
      frac = frac * 10 + static_cast<uint64_t>(c - '0');
      ++digits;
    }
  }
  for (; digits < 6; ++digits) frac *= 10;
  *ns = whole * 1000000ull + frac;
  return true;
}

bool parseCount(const std::string& text, uint64_t* value) {
  if (text.empty() || text.size() > 18) return false;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  *value = v;
  return true;
}

// Splits a line into tokens: whitespace separates, "double quotes" group
// (with \" and \\ inside), '#' outside quotes starts a comment.
bool tokenize(const std::string& line, std::vector<std::string>* tokens, std::string* why) {
  size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') break;
    std::string token;
    if (c == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) d = line[i++];
        token += d;
      }
      if (!closed) {
        *why = "unterminated quotes";
        return false;
      }
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#')
        token += line[i++];
    }
    tokens->push_back(token);
  }
  return true;
}

// Core commands.
bool checkQuit(const ScriptLine& line, std::string* why) {
  uint64_t v;
  if (line.args.size() == 1 && (!parseCount(line.args[0], &v) || v > 255)) {
    *why = "quit expects an exit code 0..255";
    return false;
  }
  return true;
}
void runQuit(const ScriptLine& line) {
  uint64_t code = 0;
  if (!line.args.empty()) parseCount(line.args[0], &code);
  postQuit(static_cast<int>(code));
}
bool checkSteps(const ScriptLine& line, std::string* why) {
  uint64_t v;
  if (!parseCount(line.args[0], &v)) {
    *why = line.command + " expects a number of steps";
    return false;
  }
  return true;
}
void runQuitAfter(const ScriptLine& line) {
  uint64_t n = 0;
  parseCount(line.args[0], &n);
  g_state.quitAt.push_back(g_state.step + n);
}
void runClose(const ScriptLine&) { internal::queueMessage(kMsgClose, 0, 0); }
bool checkActivate(const ScriptLine& line, std::string* why) {
  if (line.args[0] != "0" && line.args[0] != "1") {
    *why = "activate expects 0 or 1";
    return false;
  }
  return true;
}
void runActivate(const ScriptLine& line) {
  uint64_t on = line.args[0] == "1" ? 1 : 0;
  // Losing the foreground deactivates the window first; gaining it
  // activates the application first.
  if (on) {
    internal::queueMessage(kMsgActivateApp, 1, 0);
    internal::queueMessage(kMsgActivate, 1, 0);
  } else {
    internal::queueMessage(kMsgActivate, 0, 0);
    internal::queueMessage(kMsgActivateApp, 0, 0);
  }
}
// One day: a longer jump would run millions of timer ticks at once.
constexpr uint64_t kMaxAdvanceNs = 86400ull * 1000000000ull;

bool checkAdvance(const ScriptLine& line, std::string* why) {
  uint64_t ns;
  if (!parseMillis(line.args[0], &ns) || ns > kMaxAdvanceNs) {
    *why = "advance expects milliseconds up to 86400000 (up to 6 decimals)";
    return false;
  }
  return true;
}
void runAdvance(const ScriptLine& line) {
  uint64_t ns = 0;
  parseMillis(line.args[0], &ns);
  headlessAdvanceClock(ns);
}
void runCapture(const ScriptLine& line) {
  if (g_capture)
    g_capture(line.args[0]);
  else
    std::fprintf(stderr, "korvena script line %d: no display to capture a frame from\n", line.lineNumber);
}
void runEcho(const ScriptLine& line) {
  std::string text;
  for (size_t i = 0; i < line.args.size(); ++i) text += (i ? " " : "") + line.args[i];
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
}

struct CoreCommands {
  CoreCommands() {
    registerScriptCommand("quit", 0, 1, checkQuit, runQuit);
    registerScriptCommand("quit-after", 1, 1, checkSteps, runQuitAfter);
    registerScriptCommand("close", 0, 0, nullptr, runClose);
    registerScriptCommand("activate", 1, 1, checkActivate, runActivate);
    registerScriptCommand("advance", 1, 1, checkAdvance, runAdvance);
    registerScriptCommand("capture", 1, 1, nullptr, runCapture);
    registerScriptCommand("echo", 0, -1, nullptr, runEcho);
  }
};
void ensureCore() { static CoreCommands core; }

}  // namespace

void registerScriptCommand(const char* name, int minArgs, int maxArgs, ScriptCheck check, ScriptRun run) {
  if (!name || !run) return;
  std::lock_guard<std::recursive_mutex> g(scriptMutex());
  commands()[name] = Command{minArgs, maxArgs, check, run};
}

bool isScriptCommand(const std::string& name) {
  ensureCore();
  std::lock_guard<std::recursive_mutex> g(scriptMutex());
  return commands().count(name) != 0;
}

bool parseScript(const std::string& text, std::vector<ScriptLine>* lines, std::string* why) {
  ensureCore();
  std::lock_guard<std::recursive_mutex> g(scriptMutex());
  std::vector<ScriptLine> parsed;
  std::string reason;
  size_t pos = 0;
  int number = 0;
  auto fail = [&](const std::string& r) {
    if (why) *why = "line " + std::to_string(number) + ": " + r;
    return false;
  };
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string raw = text.substr(pos, end - pos);
    pos = end + 1;
    ++number;
    if (raw.size() > kMaxLineLength) return fail("line too long");
    for (unsigned char c : raw)
      if ((c < 0x20 && c != '\t' && c != '\r') || c == 0x7F) return fail("unexpected control byte");
    std::vector<std::string> tokens;
    if (!tokenize(raw, &tokens, &reason)) return fail(reason);
    if (tokens.empty()) continue;
    ScriptLine line;
    line.lineNumber = number;
    const std::string& when = tokens[0];
    if (!when.empty() && when[0] == '@') {
      line.atTime = true;
      if (!parseMillis(when.substr(1), &line.timeNs)) return fail("bad time \"" + when + "\" (expected @<milliseconds>)");
    } else if (!parseCount(when, &line.step)) {
      return fail("expected a step number or @<milliseconds>, found \"" + when + "\"");
    }
    if (tokens.size() < 2) return fail("missing command");
    line.command = tokens[1];
    line.args.assign(tokens.begin() + 2, tokens.end());
    auto it = commands().find(line.command);
    if (it == commands().end()) return fail("unknown command \"" + line.command + "\"");
    const Command& cmd = it->second;
    int n = static_cast<int>(line.args.size());
    if (n < cmd.minArgs || (cmd.maxArgs >= 0 && n > cmd.maxArgs))
      return fail("wrong number of arguments for \"" + line.command + "\"");
    if (cmd.check && !cmd.check(line, &reason)) return fail(reason);
    parsed.push_back(std::move(line));
  }
  *lines = std::move(parsed);
  return true;
}

void setCaptureHandler(CaptureHandler handler) { g_capture = handler; }

CaptureHandler captureHandler() { return g_capture; }

void runScriptStep() {
  std::lock_guard<std::recursive_mutex> g(scriptMutex());
  ++g_state.step;
  uint64_t now = nowNs();
  for (size_t i = 0; i < g_state.lines.size(); ++i) {
    if (g_state.done[i]) continue;
    const ScriptLine& line = g_state.lines[i];
    bool due = line.atTime ? now >= line.timeNs : g_state.step >= line.step;
    if (!due) continue;
    g_state.done[i] = true;
    auto it = commands().find(line.command);
    if (it != commands().end()) it->second.run(line);
  }
  for (size_t i = 0; i < g_state.quitAt.size();) {
    if (g_state.step >= g_state.quitAt[i]) {
      postQuit(0);
      g_state.quitAt.erase(g_state.quitAt.begin() + static_cast<long>(i));
    } else {
      ++i;
    }
  }
}

}  // namespace platform::headless

namespace platform {

bool headlessLoadScriptText(const std::string& text, std::string* why) {
  std::vector<headless::ScriptLine> lines;
  if (!headless::parseScript(text, &lines, why)) return false;
  std::lock_guard<std::recursive_mutex> g(headless::scriptMutex());
  headless::g_state.lines = std::move(lines);
  headless::g_state.done.assign(headless::g_state.lines.size(), false);
  headless::g_state.quitAt.clear();
  return true;
}

bool headlessLoadScript(const std::string& path, std::string* why) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (why) *why = "cannot read the script \"" + path + "\"";
    return false;
  }
  std::ostringstream s;
  s << in.rdbuf();
  std::string reason;
  if (!headlessLoadScriptText(s.str(), &reason)) {
    if (why) *why = path + ": " + reason;
    return false;
  }
  return true;
}

uint64_t headlessStep() {
  std::lock_guard<std::recursive_mutex> g(headless::scriptMutex());
  return headless::g_state.step;
}

uint32_t headlessPendingScriptLines() {
  std::lock_guard<std::recursive_mutex> g(headless::scriptMutex());
  uint32_t n = 0;
  for (bool d : headless::g_state.done) n += d ? 0 : 1;
  return n + static_cast<uint32_t>(headless::g_state.quitAt.size());
}

namespace internal {
void setHeadlessNow(uint64_t ns);
void clearMessages();

bool loadScriptFromEnvironment(std::string* why) {
  const char* path = std::getenv("KORVENA_SCRIPT");
  if (!path || !*path) return true;
  return headlessLoadScript(path, why);
}

void resetScript() {
  std::lock_guard<std::recursive_mutex> g(headless::scriptMutex());
  headless::g_state = headless::ScriptState{};
}
}  // namespace internal

}  // namespace platform
