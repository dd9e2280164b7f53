// cubefx check: every line of each file a frame string, reported as text for people or as JSON for
// build scripts. Reads each file once and never changes it.
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "cube/pattern.h"
#include "tools/cubefx/commands.h"
#include "tools/cubefx/cubefx.h"
#include "tools/cubefx/effect_io.h"

namespace cubefx {

namespace {

struct TBadLine {
  std::size_t Number = 0;  // 1-based
  const char* Reason = "";
};

struct TFileReport {
  std::string Path;
  std::string Refusal;  // empty when the file was read
  std::size_t Lines = 0;
  std::vector<TBadLine> Bad;

  int ExitCode() const { return !Refusal.empty() ? kExitFailed : Bad.empty() ? kExitOk : kExitNotFrames; }
};

TFileReport CheckFile(const std::string& path) {
  TFileReport report;
  report.Path = path;
  TEffect effect;
  if (!LoadEffect(path, effect, report.Refusal)) return report;
  report.Lines = effect.Lines.size();
  for (std::size_t i = 0; i < effect.Lines.size(); ++i) {
    const cube::TFrameFault fault = cube::ParseFrame(effect.Lines[i]).Fault;
    if (fault != cube::TFrameFault::None) report.Bad.push_back({i + 1, LineFault(i, effect.Lines[i], fault)});
  }
  return report;
}

void PrintText(const TFileReport& report, std::ostream& out) {
  const std::size_t frames = report.Lines - report.Bad.size();
  out << report.Path << ": " << report.Lines << (report.Lines == 1 ? " line, " : " lines, ") << frames
      << (frames == 1 ? " frame" : " frames");
  if (!report.Bad.empty()) {
    out << ", " << report.Bad.size()
        << (report.Bad.size() == 1 ? " line that is not a frame" : " lines that are not frames");
  }
  out << '\n';
  for (const TBadLine& bad : report.Bad)
    out << report.Path << ':' << bad.Number << ": " << bad.Reason << '\n';
}

// A JSON string: quotes, backslashes and control characters escaped, other bytes as they are.
void PrintJsonString(std::string_view text, std::ostream& out) {
  out << '"';
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out << '\\' << c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out << escaped;
    } else {
      out << c;
    }
  }
  out << '"';
}

void PrintJson(const std::vector<TFileReport>& reports, int exitCode, std::ostream& out) {
  out << "{\"exit\":" << exitCode << ",\"files\":[";
  for (std::size_t f = 0; f < reports.size(); ++f) {
    const TFileReport& report = reports[f];
    out << (f > 0 ? ",\n" : "\n") << "{\"file\":";
    PrintJsonString(report.Path, out);
    if (!report.Refusal.empty()) {
      out << ",\"error\":";
      PrintJsonString(report.Refusal, out);
      out << '}';
      continue;
    }
    out << ",\"lines\":" << report.Lines << ",\"frames\":" << report.Lines - report.Bad.size()
        << ",\"notFrames\":[";
    for (std::size_t i = 0; i < report.Bad.size(); ++i) {
      out << (i > 0 ? "," : "") << "{\"line\":" << report.Bad[i].Number << ",\"reason\":";
      PrintJsonString(report.Bad[i].Reason, out);
      out << '}';
    }
    out << "]}";
  }
  out << "\n]}\n";
}

}  // namespace

int Check(const TArgs& args, std::ostream& out, std::ostream& err) {
  bool quiet = false, json = false, optionsDone = false;
  std::vector<std::string> files;
  for (const std::string& word : args) {
    if (optionsDone || !IsOption(word))
      files.push_back(word);
    else if (word == "--")
      optionsDone = true;
    else if (word == "--quiet" || word == "-q")
      quiet = true;
    else if (word == "--json")
      json = true;
    else
      return Fail(err, "check", "unknown option '" + word + "' (cubefx check --help lists the options)");
  }
  if (files.empty())
    return Fail(err, "check", "no file given (usage: cubefx check [--quiet | --json] FILE...)");
  if (quiet && json) return Fail(err, "check", "--quiet and --json exclude each other");

  std::vector<TFileReport> reports;
  int exitCode = kExitOk;
  for (const std::string& path : files) {
    reports.push_back(CheckFile(path));
    const TFileReport& report = reports.back();
    if (report.ExitCode() > exitCode) exitCode = report.ExitCode();
    if (quiet) continue;
    if (!report.Refusal.empty())
      Fail(err, "check", report.Path + ": " + report.Refusal);
    else if (!json)
      PrintText(report, out);
  }
  if (json) PrintJson(reports, exitCode, out);
  return exitCode;
}

}  // namespace cubefx
