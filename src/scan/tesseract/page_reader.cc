// The recogniser: Leptonica reads and straightens the page, Tesseract's LSTM model (Debian's
// tesseract-ocr-eng) reads it whole, then each of its lines on its own.
#include "scan/page_reader.h"

#include <tesseract/baseapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "scan/page_layout.h"
#include "scan/tesseract/ocr_handles.h"

// libgomp reads OMP_THREAD_LIMIT once, when it is loaded, before main: too early to set it
// here. No active parallel level does the same. Threads made Tesseract five times slower on
// two shared cores, and they would make its results depend on the timing.
extern "C" void omp_set_max_active_levels(int levels);

namespace {

// The alternatives' confidences are 100 - coefficient x rating; the default coefficient clips
// them all to 0, this one keeps their ratings apart.
constexpr float RatingCoefficient = 0.01f;
constexpr const char* RatingCoefficientText = "0.01";
// Light is evened out over about this many pixels (times Leptonica's reduction of 4), wider
// than a stroke and narrower than a shadow.
constexpr int LightingSize = 11;
// The tilt is looked for on the page thresholded at Leptonica's usual level, and undone when
// Leptonica's confidence in it reaches this (its own deskew asks for 3) and it is this large.
constexpr l_int32 SkewThreshold = 130;
constexpr l_float32 LeastSkewConfidence = 1.5f;
constexpr l_float32 LeastSkew = 0.1f;
// Lines are read at least this many pixels high: Tesseract misses digits in smaller print.
constexpr float StripHeight = 40;

ReadSymbol Symbol(const tesseract::ResultIterator& at) {
  ReadSymbol symbol;
  const TextHandle best(at.GetUTF8Text(tesseract::RIL_SYMBOL));
  symbol.confidence = at.Confidence(tesseract::RIL_SYMBOL);
  int top, bottom;
  at.BoundingBox(tesseract::RIL_SYMBOL, &symbol.left, &top, &symbol.right, &bottom);
  tesseract::ChoiceIterator choice(at);
  float bestRating = 1e9f;
  std::vector<ReadChoice> choices;
  do {
    const char* text = choice.GetUTF8Text();
    if (!text) continue;
    const float rating = (100 - choice.Confidence()) / RatingCoefficient;
    choices.push_back({text, rating});
    bestRating = std::min(bestRating, rating);
  } while (choice.Next());
  for (ReadChoice& c : choices) c.cost -= bestRating;
  std::stable_sort(choices.begin(), choices.end(),
                   [](const ReadChoice& a, const ReadChoice& b) { return a.cost < b.cost; });
  // The reading itself leads, whatever the alternatives say.
  const std::string bestText = best ? best.get() : "";
  std::erase_if(choices, [&](const ReadChoice& c) { return c.text == bestText; });
  choices.insert(choices.begin(), {bestText, 0});
  symbol.choices = std::move(choices);
  return symbol;
}

PageReading Collect(tesseract::TessBaseAPI& api) {
  PageReading page;
  const ResultHandle at(api.GetIterator());
  if (!at || at->Empty(tesseract::RIL_SYMBOL)) return page;
  do {
    if (at->IsAtBeginningOf(tesseract::RIL_TEXTLINE)) {
      page.lines.emplace_back();
      int left, right;
      at->BoundingBox(tesseract::RIL_TEXTLINE, &left, &page.lines.back().top, &right,
                      &page.lines.back().bottom);
    }
    if (at->IsAtBeginningOf(tesseract::RIL_WORD)) page.lines.back().words.emplace_back();
    page.lines.back().words.back().symbols.push_back(Symbol(*at));
  } while (at->Next(tesseract::RIL_SYMBOL));
  return page;
}

GreyImage ImageOf(Pix* pix) {
  GreyImage image;
  image.width = static_cast<int>(pixGetWidth(pix));
  image.height = static_cast<int>(pixGetHeight(pix));
  image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
  const l_uint32* data = pixGetData(pix);
  const int wpl = pixGetWpl(pix);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) +
                   static_cast<size_t>(x)] = static_cast<uint8_t>(GET_DATA_BYTE(data + y * wpl, x));
  return image;
}

PixHandle Crop(Pix* pix, int left, int top, int right, int bottom) {
  const BoxHandle box(boxCreate(left, top, right - left, bottom - top));
  return PixHandle(box ? pixClipRectangle(pix, box.get(), nullptr) : nullptr);
}

}  // namespace

struct PageReader::Engine {
  tesseract::TessBaseAPI api;
  bool ready = false;
  PageReading ReadStrips(Pix* straight, Pix* smooth);
};

// Each line on its own: found on the page evenly lit and without its grain, cut from it evenly
// lit, scaled up where it is small, read as one line of hexadecimal digits. The strip the line
// was read from goes with it, for its cells to be read again against the page's glyphs.
PageReading PageReader::Engine::ReadStrips(Pix* straight, Pix* smooth) {
  PageReading page;
  const PixHandle even(pixBackgroundNormMorph(straight, nullptr, 4, LightingSize, 255));
  const PixHandle evenSmooth(pixBackgroundNormMorph(smooth, nullptr, 4, LightingSize, 255));
  if (!even || !evenSmooth) return page;
  const std::vector<TextBand> bands = FindTextBands(ImageOf(evenSmooth.get()));
  api.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
  api.SetVariable("tessedit_char_whitelist", "0123456789ABCDEF ");
  const int width = static_cast<int>(pixGetWidth(even.get()));
  const int height = static_cast<int>(pixGetHeight(even.get()));
  for (const TextBand& band : bands) {
    const int lineHeight = band.bottom - band.top;
    const int pad = lineHeight / 2;
    const int left = std::max(0, band.left - pad), right = std::min(width, band.right + pad);
    const PixHandle crop = Crop(even.get(), left, std::max(0, band.top - pad), right,
                                std::min(height, band.bottom + pad));
    const PixHandle strip = Crop(even.get(), left, band.top, right, band.bottom);
    if (!crop || !strip) continue;
    const float scale = std::max(1.0f, StripHeight / static_cast<float>(lineHeight));
    const PixHandle big(scale > 1 ? pixScaleGrayLI(crop.get(), scale, scale)
                                  : pixClone(crop.get()));
    if (!big) continue;
    api.SetImage(big.get());
    api.SetSourceResolution(300);  // any: Tesseract only warns when it is not told
    if (api.Recognize(nullptr) != 0) continue;
    for (ReadLine& line : Collect(api).lines) {
      line.top = band.top;
      line.bottom = band.bottom;
      for (ReadWord& word : line.words)
        for (ReadSymbol& symbol : word.symbols) {
          symbol.left =
              left + static_cast<int>(std::lround(static_cast<float>(symbol.left) / scale));
          symbol.right =
              left + static_cast<int>(std::lround(static_cast<float>(symbol.right) / scale));
        }
      line.strip = ImageOf(strip.get());
      line.stripLeft = left;
      page.lines.push_back(std::move(line));
    }
  }
  api.SetVariable("tessedit_char_whitelist", "");
  api.SetPageSegMode(tesseract::PSM_SINGLE_BLOCK);
  return page;
}

PageReader::PageReader() : engine_(std::make_unique<Engine>()) {
  omp_set_max_active_levels(0);
  tesseract::TessBaseAPI& api = engine_->api;
  engine_->ready = api.Init(nullptr, "eng", tesseract::OEM_LSTM_ONLY) == 0;
  if (!engine_->ready) return;
  api.SetVariable("debug_file", "/dev/null");  // resolution guesses and the like
  api.SetVariable("lstm_choice_mode", "2");
  api.SetVariable("lstm_rating_coefficient", RatingCoefficientText);
  api.SetPageSegMode(tesseract::PSM_SINGLE_BLOCK);
  // Sauvola's local threshold finds the lines on unevenly lit pages.
  api.SetVariable("thresholding_method", "2");
}

PageReader::~PageReader() = default;

bool PageReader::InThisBuild() { return true; }

bool PageReader::Ready() const { return engine_->ready; }

bool PageReader::CanOpen(const std::string& imageName) {
  setMsgSeverity(L_SEVERITY_NONE);  // a bad image is reported by its name, not by Leptonica
  l_int32 format = 0;
  return pixReadHeader(imageName.c_str(), &format, nullptr, nullptr, nullptr, nullptr, nullptr) ==
         0;
}

std::optional<std::vector<PageReading>> PageReader::Read(const std::string& imageName) {
  const PixHandle image(pixRead(imageName.c_str()));
  if (!image) return std::nullopt;
  const PixHandle grey(pixConvertTo8(image.get(), 0));
  if (!grey) return std::nullopt;
  // Tesseract follows a tilted line poorly; Leptonica finds the page's tilt and undoes it. Its
  // own deskew leaves a dim, grainy photograph tilted: it trusts the tilt it finds there too
  // little, though the tilt is right.
  PixHandle straight;
  const PixHandle binary(pixConvertTo1(grey.get(), SkewThreshold));
  l_float32 angle = 0, confidence = 0;
  if (binary && pixFindSkew(binary.get(), &angle, &confidence) == 0 &&
      confidence >= LeastSkewConfidence && std::abs(angle) >= LeastSkew)
    straight.reset(pixRotate(grey.get(), angle * std::numbers::pi_v<float> / 180, L_ROTATE_AREA_MAP,
                             L_BRING_IN_WHITE, 0, 0));
  if (!straight) straight.reset(pixClone(grey.get()));
  // Grain of paper and sensor breaks thin strokes apart when thresholded; a 3x3 median takes
  // it away, for finding the lines. (Reading the whole page through it as well cost a quarter
  // of the time and read no more lines once each line is read on its own.)
  const PixHandle smooth(pixMedianFilter(straight.get(), 3, 3));
  if (!smooth) return std::nullopt;
  std::vector<PageReading> passes;
  tesseract::TessBaseAPI& api = engine_->api;
  api.SetImage(straight.get());
  if (api.Recognize(nullptr) != 0) return std::nullopt;
  passes.push_back(Collect(api));
  passes.push_back(engine_->ReadStrips(straight.get(), smooth.get()));
  api.Clear();
  return passes;
}
