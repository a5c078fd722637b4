#include "imaging/image_library.h"

// Where modules are not loaded, the library is linked into the program and its entries are
// there from the start.
const TImageLibraryEntries& ImageLibrary() { return *TulvoImageLibraryEntries(); }
