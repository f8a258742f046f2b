// Resource ids of WivoGallery.
#pragma once

#define IDR_MAINFRAME   128     // menu, accelerators and title of the main window
