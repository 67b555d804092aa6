#pragma once
// The panel's file version, major, minor, release, build: the version
// resource holds it and the banner shows it.
#define SIMPANEL_FILE_VERSION 1, 0, 5, 6
#define SIMPANEL_FILE_VERSION_TEXT "1.0.5.6"
