#include "app/app_state.h"

AppState App;
const DWORD& AppClientWidth = App.width;
const DWORD& AppClientHeight = App.height;
