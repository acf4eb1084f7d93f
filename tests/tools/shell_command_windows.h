#pragma once
// run_shell on Windows: the POSIX shell line split into words (quotes as sh
// reads them; a backslash outside quotes stays, as paths here have them),
// its redirections made here (<, >, 2>,
// 2>&1; /dev/null is NUL), and the program started directly with a
// command line quoted as the C runtime splits it. cmd.exe is not involved:
// its rules for quotes differ from sh's, and under Wine it now and then
// fails to find a program it found a moment before.
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tools/shell_command.h"

namespace tap::test {
namespace shell_windows {

struct Command {
  std::vector<std::string> words;
  std::string in, out, err;  // files; empty to inherit
  bool err_to_out = false;
};

inline Command parse(const std::string& line) {
  Command c;
  std::string word;
  bool in_word = false;
  std::string* target = nullptr;  // the redirection that takes the next word
  auto finish = [&] {
    if (!in_word) return;
    if (target) {
      *target = word == "/dev/null" ? "NUL" : word;
      target = nullptr;
    } else {
      c.words.push_back(word);
    }
    word.clear();
    in_word = false;
  };
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char ch = line[i];
    if (ch == ' ' || ch == '\t' || ch == '\n') {
      finish();
    } else if (ch == '\'') {
      in_word = true;
      const std::size_t close = line.find('\'', i + 1);
      word += line.substr(i + 1, close - i - 1);
      i = close == std::string::npos ? line.size() : close;
    } else if (ch == '"') {
      in_word = true;
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && std::string("\"\\$`").find(line[i + 1]) != std::string::npos)
          ++i;
        word += line[i];
      }
    } else if (!in_word && line.compare(i, 4, "2>&1") == 0) {
      c.err_to_out = true;
      i += 3;
    } else if (!in_word && line.compare(i, 2, "2>") == 0) {
      target = &c.err;
      ++i;
    } else if (!in_word && (ch == '>' || ch == '<')) {
      finish();
      target = ch == '>' ? &c.out : &c.in;
    } else {
      in_word = true;
      word += ch;
    }
  }
  finish();
  return c;
}

// Quoted so that the C runtime's argument splitting gives `word` back.
inline std::string quote(const std::string& word) {
  if (!word.empty() && word.find_first_of(" \t\n\v\"") == std::string::npos) return word;
  std::string q = "\"";
  for (std::size_t i = 0;; ++i) {
    std::size_t backslashes = 0;
    while (i < word.size() && word[i] == '\\') ++i, ++backslashes;
    if (i == word.size()) {
      q.append(backslashes * 2, '\\');
      break;
    }
    if (word[i] == '"') q.append(backslashes * 2 + 1, '\\');
    else q.append(backslashes, '\\');
    q += word[i];
  }
  return q + "\"";
}

inline HANDLE open_file(const std::string& path, bool for_writing) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileA(path.c_str(), for_writing ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                     for_writing ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace shell_windows

inline ShellResult run_shell(const std::string& line) {
  using namespace shell_windows;
  ShellResult result;
  const Command c = parse(line);
  if (c.words.empty()) return result;
  std::string command_line = quote(std::filesystem::path(c.words[0]).make_preferred().string());
  for (std::size_t i = 1; i < c.words.size(); ++i) command_line += " " + quote(c.words[i]);

  // The output goes to a file, not a pipe, read once the program has ended.
  // A program that is the first to need Wine's services starts
  // them, and they inherit its standard handles: on a pipe, the reader
  // would wait for an end of file that comes only when Wine shuts down.
  char dir[MAX_PATH + 1], out_path[MAX_PATH + 1];
  if (!GetTempPathA(sizeof dir, dir) || !GetTempFileNameA(dir, "tap", 0, out_path)) return result;
  std::vector<HANDLE> opened;
  auto redirect = [&](const std::string& path, bool for_writing, HANDLE fallback) {
    if (path.empty()) return fallback;
    HANDLE h = open_file(path, for_writing);
    if (h != INVALID_HANDLE_VALUE) opened.push_back(h);
    return h;
  };
  HANDLE out_file = redirect(out_path, true, INVALID_HANDLE_VALUE);
  if (out_file == INVALID_HANDLE_VALUE) {
    DeleteFileA(out_path);
    return result;
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = redirect(c.in, false, GetStdHandle(STD_INPUT_HANDLE));
  startup.hStdOutput = redirect(c.out, true, out_file);
  startup.hStdError = c.err_to_out ? startup.hStdOutput : redirect(c.err, true, GetStdHandle(STD_ERROR_HANDLE));
  PROCESS_INFORMATION process{};
  // Wine now and then fails to start a program that it started a moment
  // before; nothing has run then, so trying again changes nothing else.
  bool started = false;
  DWORD error = 0;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt > 0) Sleep(50);
    started = CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                             &startup, &process);
    if (!started) error = GetLastError();
  }
  for (HANDLE h : opened) CloseHandle(h);
  if (started) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) result.exit_code = static_cast<int>(code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    std::string raw;
    HANDLE in = open_file(out_path, false);
    if (in != INVALID_HANDLE_VALUE) {
      char buf[65536];
      DWORD n = 0;
      while (ReadFile(in, buf, sizeof buf, &n, nullptr) && n > 0) raw.append(buf, n);
      CloseHandle(in);
    }
    // Line ends as a text-mode pipe gives them, and as the tests expect.
    result.out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i)
      if (raw[i] != '\r' || i + 1 == raw.size() || raw[i + 1] != '\n') result.out.push_back(raw[i]);
  } else {
    // As a shell reports a program it cannot start.
    result.exit_code = 127;
    result.out = "cannot start " + c.words[0] + ": error " + std::to_string(error) + "\n";
  }
  DeleteFileA(out_path);
  return result;
}

}  // namespace tap::test
