// The utilities' own steps, for the framework's files. Not installed: games use
// util/failure.h.
#pragma once
#include "util/failure.h"

// Hands the failure's message to the reporter; a failure that ends the run then
// posts the quit message, so that the main loop ends. Returns status.
HRESULT ReportFailure(FailureId id, HRESULT status);
