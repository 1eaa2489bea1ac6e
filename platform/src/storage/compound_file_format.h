// Compound files (OLE2 structured storage) as bytes, read and written with
// libgsf. No other file of the platform sees libgsf.
#pragma once

#include <objbase.h>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "storage/element_tree.h"

namespace platform::storage {

// Whether the bytes begin with the compound file signature.
bool HasCompoundFileSignature(std::span<const uint8_t> bytes);

// The tree of a compound file: STG_E_FILEALREADYEXISTS for bytes that are
// not a compound file, STG_E_DOCFILECORRUPT for a damaged one.
HRESULT ReadCompoundFile(std::span<const uint8_t> bytes, std::shared_ptr<Element> &root);

// The bytes of a compound file holding the tree.
HRESULT WriteCompoundFile(const Element &root, std::vector<uint8_t> &bytes);

}  // namespace platform::storage
