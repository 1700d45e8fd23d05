#include "cli/usage_text.h"

#include "common/identity.h"

namespace cvu::cli {

std::string UsageText() {
  return std::string(
             "Usage: corvane-upload [options] FILE...\n"
             "Uploads image files (.jpg, .jpeg, .png, .gif) to the photo-hosting service with the requests the\n"
             "windowed program makes, records each in the upload history of the program's database and prints\n"
             "one text per uploaded file, in the order given. FILE '-' reads paths from standard input, one a line.\n"
             "\n"
             "Upload options (as in the upload options window):\n"
             "  --quality N        image quality, 5..100 (sends the file for conversion)\n"
             "  --filter NAME      none, greyscale, negative, sepia, edgedetect, emboss, gaussian-blur,\n"
             "                     selective-blur, mean-removal, or the value 2..10 (sends it for conversion)\n"
             "  --thumbtext TEXT   text on the thumbnail\n"
             "  --title TEXT       title (description)\n"
             "  --album ID         the album's id\n"
             "  --publish          publish in the gallery\n"
             "  --no-convert       upload without conversion and effects (the default; wins over --quality\n"
             "                     and --filter, whose values are then still sent, as the window sends them)\n"
             "  --convert          send the file for conversion with the initial quality and filter\n"
             "  --anonymous        upload without the stored account\n"
             "\n"
             "Output:\n"
             "  --format KIND      page (default), full, direct, thumb, html, bb, own1, own2, own3\n"
             "                     (own1..3: the own-code templates stored in the database)\n"
             "  --json             one JSON object per file with every text and the history record\n"
             "\n"
             "  --jobs N           files in flight at once, 1..64 (default 4; 1 sends them one by one)\n"
             "  --database PATH    the database (default: ") +
         kDatabaseFileName +
         " in the data folder)\n"
         "  --data-folder      print the data folder and end: $XDG_DATA_HOME/corvane-uploader, by default\n"
         "                     ~/.local/share/corvane-uploader; made, and given a copy of the supplied\n"
         "                     database, when it has none\n"
         "  --host HOST[:PORT] the service (default: " +
         kDefaultServiceHost +
         ")\n"
         "  -h, --help, --version\n"
         "\n"
         "The account is the one stored by the windowed program (all four account values set), else none.\n"
         "Progress goes to standard error: a live line per file in flight on a terminal, else the activity log.\n"
         "Ctrl+C starts no further file and records those in flight as they end; a second Ctrl+C ends them.\n"
         "Exit status: 0 every file uploaded and recorded, 1 any file not, 2 a usage or database error.\n";
}

std::string VersionLine() { return std::string("corvane-upload ") + VersionText; }

}  // namespace cvu::cli
