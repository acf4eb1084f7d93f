// srplay: checks, inspects and plays recordings through the real driver.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>

#include "driver_command.h"

int main(int argc, char** argv) {
  CLI::App app{"srplay: check, inspect and play instrument recordings"};
  app.require_subcommand(1);
  std::string library = tap::host::DriverHost::default_library_path();
  app.add_option("--driver", library, "the driver library to load")->capture_default_str();

  auto* driver = app.add_subcommand("driver", "load the driver as a host does and show its entry table");
  int rc = 0;
  driver->callback([&] { rc = srplay::run_driver_command(library); });

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
