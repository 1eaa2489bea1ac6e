// Modules: a module handle (HMODULE, HINSTANCE) is the address at which the
// ELF object's first byte is mapped, as a Windows module handle is the address
// of its image. The compiled resources of a module are the bytes behind its
// exported symbol quorvel_module_resources (see cmake/Resources.cmake).
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

namespace platform::loader {

// The module that contains the given address, or null.
HMODULE ModuleContaining(const void *address);

// The file path of a loaded module, or empty when the handle names none.
std::string ModulePath(HMODULE module);

// The compiled resources (.res bytes) of a loaded module; empty when it has none.
std::span<const uint8_t> ModuleResources(HMODULE module);

}  // namespace platform::loader
