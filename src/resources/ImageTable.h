#pragma once
// The program's image table: a fixed list of named pictures, drawn in code at the size each
// user needs (16 pixels in the model tree, 24 in the toolbar, 32 for the frame icon), so
// one drawing serves every size.
#include <string>

#include <wx/bitmap.h>
#include <wx/image.h>

class wxImageList;

namespace imageTable {
constexpr int imageCount = 107;
constexpr int treeImageSize = 16;
constexpr int toolImageSize = 24;
constexpr int buttonImageSize = 16;
// The picture the frame shows as its icon and the about box as its emblem.
constexpr int programImage = 4;

// The names in table order, followed by a null pointer; image number i has the i-th name.
const char* const* imageNames();
// The image number of a name, or -1 when the table has no such name.
int imageIndex(const std::string& name);
// Image number index drawn as a square of size pixels on a transparent ground; an empty
// image for a number outside the table.
wxImage drawImage(int index, int size);
// The named image as a bitmap of size pixels; an invalid bitmap for an unknown name.
wxBitmap bitmap(const std::string& name, int size);
// Every image of the table at 16 by 16, in table order. The caller owns the list.
wxImageList* createImageList();
} // namespace imageTable
