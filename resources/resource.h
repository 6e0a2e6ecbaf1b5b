// Resource ids shared by the resource script and the code.
#pragma once

#define IDI_APPLICATION_ICON 128

// The program's pictures, type "IDR_JPG": 700 x 230 and 230 x 700.
#define IDR_JPG_BANNER 131
#define IDR_JPG_UPRIGHT 132

// The catalogue's own icons: resources 1000 to 1022, icon indices 1 to 23.
#define IDI_OWN_ICON_FIRST 1000
#define IDI_OWN_ICON_COUNT 23
