#pragma once
// Keeps a picture for a person to look at, as a PNG where the test support's PictureFile
// says; false when it could not be written.

#include "tests/support/guiprobe.h"
#include "tests/support/picturefile.h"

#include <string>

inline bool KeepPicture(const probe::Picture& Picture, const std::string& Name) {
    return Picture.SavePng(testsupport::PictureFile(Name));
}
