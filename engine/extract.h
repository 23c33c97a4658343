// Extraction of the carried payload into the target file.
#pragma once

#include <string>

// Decodes the container in the raw-data resource `resourceName` of the
// running module into the file `targetPath` (used exactly as passed).
// Returns true; every failure is an exception of the Exception family, and
// after any failure the target holds exactly its previous bytes.
bool ExtractPayload(std::string resourceName, std::string targetPath);
