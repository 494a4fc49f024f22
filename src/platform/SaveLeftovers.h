#pragma once
#include <QString>

namespace SaveLeftovers {

// Removes the temporary copies that a save killed before its last step left
// beside the file: regular files named "<name>.XXXXXX", six ASCII letters, as
// Qt names them. Only the lock holder may call it: a running save owns its own.
void Remove(const QString& path);

} // namespace SaveLeftovers
