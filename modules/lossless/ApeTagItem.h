// One text item of the APEv2 tag at the end of a file (Monkey's Audio,
// WavPack, TTA; before an ID3v1 tag when there is one).
#pragma once

#include "modules/lossless/BoundedFile.h"

#include <string>

// The value of the first text item named `key` (compared ignoring case),
// or "" when there is no tag or no such item.
std::string ReadApeTagItem(BoundedFile& file, const char* key);
