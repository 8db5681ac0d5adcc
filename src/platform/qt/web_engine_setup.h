#pragma once
// Prepares the process for Qt WebEngine. Call it in main() before the
// QApplication exists: the settings it makes are read when Qt starts.

namespace tovlo {

void prepareWebEngine();

}  // namespace tovlo
