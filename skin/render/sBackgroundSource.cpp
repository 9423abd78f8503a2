#include "skin/render/sBackgroundSource.h"

BackgroundSource MakeBgInfo(const Bitmap32* bmp, int32_t x, int32_t y) {
  BackgroundSource bg;
  bg.Bmp = bmp;
  bg.X = x;
  bg.Y = y;
  bg.FillColor = clFuchsia;
  bg.Ready = true;
  return bg;
}

BackgroundSource BgInfoFromQuery(const ParentBgQuery& query, TsSysColorFn sysColor) {
  if (query.AnswerKind == akBitmap) return MakeBgInfo(query.Bmp, query.Offset.X, query.Offset.Y);
  BackgroundSource bg;
  bg.X = query.Offset.X;
  bg.Y = query.Offset.Y;
  bg.FillColor = ColorToRGB(query.Color, sysColor);
  return bg;
}
