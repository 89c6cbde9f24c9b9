#pragma once

// A world the contract cases run in: a platform plus the means to set up files, folders and
// environment variables in it, the same way for the fake and for the real system.

#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace linkvane::contract {

class ContractWorld {
 public:
  virtual ~ContractWorld() = default;

  virtual Platform& platform() = 0;
  // The folder that the world's files live in, without a final "\".
  virtual std::u16string Folder() = 0;
  // Writes a file of these bytes in the folder; returns its path.
  virtual std::u16string WriteFile(const std::u16string& name, std::string_view bytes) = 0;
  // Creates a folder in the folder; returns its path.
  virtual std::u16string MakeFolder(const std::u16string& name) = 0;
  // Sets an environment variable for the platform's expansion, for the world's lifetime.
  virtual void SetVariable(const std::u16string& name, const std::u16string& value) = 0;

  // The path of name in the folder, whether it exists or not.
  std::u16string PathOf(const std::u16string& name) { return Folder() + u"\\" + name; }
};

// The in-memory fake, with no program installed.
std::unique_ptr<ContractWorld> MakeFakeWorld();

#ifdef _WIN32
// The real Win32 layer, in a fresh folder under the temporary folder.
std::unique_ptr<ContractWorld> MakeWin32World();
#endif

}  // namespace linkvane::contract
