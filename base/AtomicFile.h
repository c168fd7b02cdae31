#pragma once

#include <filesystem>

#include "base/Bytes.h"

namespace pomvella {

// Writes bytes to a new temporary file beside path and renames it over path,
// so an interrupted or failed write never leaves a truncated file and never
// destroys the previous one. Raises "ﾌｧｲﾙ %s を作成できません" (with path)
// when the file cannot be created or put in place, and "ｽﾄﾘｰﾑへの書き込みｴﾗｰ"
// when writing fails; the temporary file is removed in both cases.
void ReplaceFileAtomically(const std::filesystem::path& path, ByteSpan bytes);

}  // namespace pomvella
