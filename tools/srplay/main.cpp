// srplay: checks, inspects and plays recordings through the real driver.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>

#include "driver_command.h"
#include "vbs_command.h"
#include "check_command.h"
#include "convert_command.h"
#include "dump_command.h"
#include "info_command.h"
#include "run_command.h"

int main(int argc, char** argv) {
  CLI::App app{"srplay: check, inspect and play instrument recordings"};
  app.require_subcommand(1);
  std::string library = tap::host::DriverHost::default_library_path();
  app.add_option("--driver", library, "the driver library to load")->capture_default_str();

  auto* driver = app.add_subcommand("driver", "load the driver as a host does and show its entry table");
  int rc = 0;
  driver->callback([&] { rc = srplay::run_driver_command(library); });

  auto* vbs = app.add_subcommand("vbs", "run VBScript files as modules of one engine, with WScript.Echo and Quit");
  std::vector<std::string> vbs_files;
  int vbs_timeout = -1;
  vbs->add_option("files", vbs_files, "script files, run in order")->required();
  vbs->add_option("--timeout", vbs_timeout, "milliseconds each file may run (-1: no limit)");
  vbs->callback([&] { rc = srplay::run_vbs_command(vbs_files, vbs_timeout); });
  srplay::add_check_command(app, rc);
  srplay::add_info_command(app, rc);
  srplay::add_run_command(app, library, rc);
  srplay::add_convert_command(app, rc);
  srplay::add_dump_command(app, rc);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "srplay: %s\n", e.what());
    return 2;
  }
  return rc;
}
