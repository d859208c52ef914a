#include "app/app_state.h"

AppState App;
const DWORD& AppClientWidth = App.width;
const DWORD& AppClientHeight = App.height;
const DWORD& AppLogicalWidth = App.logicalWidth;
const DWORD& AppLogicalHeight = App.logicalHeight;
