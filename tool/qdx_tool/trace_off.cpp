#include "trace_switch.h"

void qdx_startTrace() {}
