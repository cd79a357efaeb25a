#pragma once
// Pictures of the windows for the documentation. When the environment
// variable MIROLAT_SCREENSHOT_DIR names a folder, the program presses OK once
// its main window is up (closing any box in the way), and the report window
// that opens saves the main window and each report in each presentation
// there as PNG files (each window grabs itself), then ends the program.
// Without the variable nothing of this happens.
#include <QString>

namespace mirolat {

class frmReport;

// The folder named by MIROLAT_SCREENSHOT_DIR, or empty.
QString ScreenshotFolder();

// Called by the report window when it is shown; takes the pictures once.
void MaybeTakeReportScreenshots(frmReport& window);

}  // namespace mirolat
