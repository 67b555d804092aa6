#pragma once
// Called first thing by the tool: the tracing build starts its report trace
// here, the quiet build does nothing.
void qdx_startTrace();
