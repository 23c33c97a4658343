// The install-directory lookup in the current user's registry.
#pragma once

#include <string>

// The value "GameDir" of HKCU\Software\KARVOS\OVAK, or "" when anything on the
// way is missing. Raises ERegistryException for a value of the wrong type or
// one that cannot be read.
std::string ReadInstallDir();
