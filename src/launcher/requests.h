#pragma once

// Requests: command lines made only of switches, such as "/register", or of one switch and a
// shortcut ("/openwith"), that ask the program for something other than a plain open. One
// table names them all.

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace linkvane::Module_Main {

// What the switches beside a request's action ask for.
struct RequestOptions {
  bool all_users = false;  // /allusers: for every user of the computer
  bool quiet = false;      // /quiet: no message box, the exit status alone tells
  std::u16string operand;  // the shortcut file of a request that takes one
};

// One row of the request table: its switch, the action (which returns the exit status), what it
// does in the usage text, and whether /allusers and /quiet may go with it.
struct Request {
  std::u16string_view name;
  int (*action)(Platform& platform, const RequestOptions& options);
  std::uint16_t usage;  // the text id of what it does
  bool takes_options;
  bool takes_operand = false;  // takes one shortcut file and nothing else
};

// The exit status of the request that the command line makes; nothing when the command line
// names a shortcut (or nothing at all), which Main then opens.
std::optional<int> RunRequest(Platform& platform);

}  // namespace linkvane::Module_Main
