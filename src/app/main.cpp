#include <wx/wx.h>

#include "app/MainApplication.h"

wxIMPLEMENT_APP(mainApplication);
