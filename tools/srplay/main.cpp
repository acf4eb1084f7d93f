// srplay: checks, inspects and plays recordings through the real driver.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>

#include "check_command.h"
#include "convert_command.h"
#include "driver_command.h"
#include "dump_command.h"
#include "import_command.h"
#include "info_command.h"
#include "platform/os/DynamicLibrary.h"
#include "run_command.h"
#include "vbs_command.h"

namespace {

// Beside srplay in a build tree; in an installed tree the driver lives in
// the library folder, which CMake gives relative to the program's folder.
std::string default_driver() {
  std::string beside = tap::host::DriverHost::default_library_path();
  std::error_code ec;
  if (std::filesystem::exists(beside, ec)) return beside;
  std::filesystem::path installed =
      std::filesystem::path(tap::os::DynamicLibrary::executable_dir()) / TAP_INSTALLED_DRIVER;
  if (std::filesystem::exists(installed, ec)) return installed.lexically_normal().string();
  return beside;
}

// The first word that is neither an option nor an option's value: what the
// user meant as a subcommand. Empty when there is none.
std::string first_word(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--driver") ++i;
    else if (!arg.empty() && arg[0] != '-') return arg;
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"srplay: check, inspect and play instrument recordings"};
  app.name("srplay");
  // CLI11 reads "/word" as an option on Windows; there it is a path too.
  app.allow_windows_style_options(false);
  app.require_subcommand(1);
  app.set_version_flag("--version", "srplay " TAP_VERSION);
  std::string library = default_driver();
  app.add_option("--driver", library, "the driver library to load")->capture_default_str();

  auto* driver = app.add_subcommand("driver", "load the driver as a host does and show its entry table");
  int rc = 0;
  driver->callback([&] { rc = srplay::run_driver_command(library); });

  auto* vbs = app.add_subcommand("vbs", "run VBScript files as modules of one engine, with WScript.Echo and Quit");
  std::vector<std::string> vbs_files;
  int vbs_timeout = -1;
  vbs->add_option("files", vbs_files, "script files, run in order")->required();
  vbs->add_option("--timeout", vbs_timeout, "milliseconds each file may run (-1: no limit)");
  std::size_t vbs_memory_limit_mb = 256;
  vbs->add_option("--memory-limit", vbs_memory_limit_mb, "megabytes the scripts' strings and arrays may hold")
      ->check(CLI::Range(std::size_t{1}, std::size_t{1} << 20));
  vbs->callback([&] { rc = srplay::run_vbs_command(vbs_files, vbs_timeout, vbs_memory_limit_mb << 20); });
  srplay::add_check_command(app, rc);
  srplay::add_info_command(app, rc);
  srplay::add_run_command(app, library, rc);
  srplay::add_convert_command(app, rc);
  srplay::add_dump_command(app, rc);
  srplay::add_import_command(app, rc);

  if (argc < 2) {
    std::cout << app.help();
    return 2;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    // A word that names no subcommand: say so, then show what there is.
    if (app.get_subcommands().empty()) {
      std::string word = first_word(argc, argv);
      if (word.empty())
        std::fprintf(stderr, "srplay: %s\n", e.what());
      else
        std::fprintf(stderr, "srplay: unknown subcommand \"%s\"\n", word.c_str());
      std::cout << app.help();
      return 2;
    }
    // CLI11 prints the reason; the status is srplay's own for a command
    // line it cannot use, as the commands document it.
    app.exit(e);
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "srplay: %s\n", e.what());
    return 2;
  }
  return rc;
}
