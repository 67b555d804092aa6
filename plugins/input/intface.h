#pragma once
// The reader base shared by both input plug-ins: the frame that reads a file
// line by line, then sorts the image and tests it for repeated addresses.
#include "bsif.h"

#include <cstddef>

// What a format's rules decide for one line.
enum class TLineStep {
  NEXT_LINE,   // go on with the next line
  FAILURE,     // stop: the load fails, the image stays in file order
  NORMAL_END,  // stop reading: the image is sorted when the verdict is true
};

// A format's per-line rules for one read, with the verdict they keep; they
// append the bytes they read to `image`.
class TLineRules {
 public:
  explicit TLineRules(TByteStreamer& image) : image(image) {}
  virtual ~TLineRules() = default;
  // `text` is NUL-terminated at `length`; the line end, if any, is part of it.
  virtual TLineStep HandleLine(const char* text, size_t length) = 0;
  virtual bool Verdict() const = 0;

 protected:
  TByteStreamer& image;
};

class TFileFormatReader : public TByteStreamer {
 public:
  // Lines are read in pieces of at most this many characters, line end kept.
  static constexpr size_t LINE_BUFFER_SIZE = 10000;

  // A reader is deleted through this base by the plug-in's LoadFile.
  virtual ~TFileFormatReader() = default;
  virtual bool ReadFile(const char* path);

 protected:
  // Empties the image, reads `path` through `rules`, then sorts and tests
  // for repeated addresses when the rules end with a true verdict.
  bool ReadLines(const char* path, TLineRules& rules);
};

// The plug-in's one reader; LoadFile replaces it.
extern TFileFormatReader* formatReader;

// Supplied by each plug-in: a new, empty reader of its format, or null when
// memory runs out.
TFileFormatReader* intface_NewReader();
