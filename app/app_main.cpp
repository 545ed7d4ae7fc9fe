// The one application object of the program.
#include "app/purgelet_app.h"

CPurgeletApp theApp;
