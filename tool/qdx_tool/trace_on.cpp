#include "report_trace.h"
#include "trace_switch.h"

void qdx_startTrace() {
  static TReportTrace trace;
  hidio_set_observer(&trace);
}
