// Pictures loaded from files: the graphic classes of the file formats the program knows, by
// file extension, and a picture that holds one graphic.
#pragma once

#include <memory>
#include <string>

#include "framework/Graphics.h"

// What a picture holds: an image of one file format that can load and draw itself.
class TGraphic : public TObject {
 public:
  FRAMEWORK_CLASS(TGraphic)
  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Throws when the file cannot be read or does not hold an image of the format.
  virtual void LoadFromFile(const std::string& fileName) = 0;
  // Draws the image into dest of the canvas, stretched to it.
  virtual void Draw(TCanvas& canvas, const RECT& dest) = 0;
};

// One registered file format: a graphic class for files with the extension.
struct TFileFormat {
  const char* Extension;    // lower case, without the dot
  const char* Description;
  const char* ClassName;
  std::unique_ptr<TGraphic> (*Create)();
};

// The format registered for the file name's extension (compared without case); nullptr when
// none is.
const TFileFormat* FindFileFormat(const std::string& fileName);

class TPicture : public TObject {
 public:
  FRAMEWORK_CLASS(TPicture)

  // Makes a graphic of the class registered for the file's extension and loads the file into
  // it. An unknown extension or a failed load throws and keeps the present graphic.
  void LoadFromFile(const std::string& fileName);
  // The graphic, or nullptr when the picture is empty.
  TGraphic* Graphic() const { return graphic_.get(); }
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }
  void Draw(TCanvas& canvas, const RECT& dest) {
    if (graphic_) graphic_->Draw(canvas, dest);
  }
  TNotifyEvent OnChange;

 private:
  std::unique_ptr<TGraphic> graphic_;
};
