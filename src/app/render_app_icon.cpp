// Build tool: draws an SVG picture at the given sizes and writes a C++ source that holds
// their pixels, the definition of AppIconPictures().
//
//   cvu_render_app_icon PICTURE.svg OUTPUT.cpp SIZE...
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

QImage DrawAt(QSvgRenderer& svg, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    svg.render(&painter, QRectF(0, 0, size, size));
  }
  return image;
}

// As 32-bit numbers, 0xAARRGGBB, so the compiled array has the image's layout on any
// byte order.
void WritePixels(std::ofstream& out, const QImage& image) {
  char number[16];
  int column = 0;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x, ++column) {
      std::snprintf(number, sizeof number, " 0x%08x,", static_cast<unsigned>(line[x]));
      out << (column % 8 == 0 ? "\n   " : "") << number;
    }
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: cvu_render_app_icon PICTURE.svg OUTPUT.cpp SIZE...\n");
    return 2;
  }
  // No display is needed to draw into an image.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid()) {
    std::fprintf(stderr, "cvu_render_app_icon: cannot read %s\n", argv[1]);
    return 1;
  }
  std::vector<int> sizes;
  for (int i = 3; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  std::ofstream out(argv[2], std::ios::trunc);
  out << "// Made by cvu_render_app_icon from " << QFileInfo(QString::fromLocal8Bit(argv[1])).fileName().toStdString()
      << "; not to be edited.\n#include \"app/app_icon_pictures.h\"\n\nnamespace cvu {\nnamespace {\n";
  for (const int size : sizes) {
    if (size <= 0 || size > 1024) {
      std::fprintf(stderr, "cvu_render_app_icon: no size %s\n", std::to_string(size).c_str());
      return 1;
    }
    out << "\nconst std::uint32_t kPixels" << size << "[] = {";
    WritePixels(out, DrawAt(svg, size));
    out << "\n};\n";
  }
  out << "\nconst IconPicture kPictures[] = {\n";
  for (const int size : sizes) out << "    {" << size << ", kPixels" << size << "},\n";
  out << "};\n\n}  // namespace\n\nstd::span<const IconPicture> AppIconPictures() { return kPictures; }\n\n}  // "
         "namespace cvu\n";
  out.close();
  if (!out) {
    std::fprintf(stderr, "cvu_render_app_icon: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
