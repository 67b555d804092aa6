#pragma once
// The one thing each output plug-in supplies to the core: what its SaveAs
// does once the core has checked the name and the routines and found the
// image non-empty. It walks the image through outplug_Routines(), reports a
// failure with outplug_SetError and returns whether the image was saved.
// A file writer's body is outplug_WriteFile with its TFormatWriter.
bool outplug_SaveBody(const char* fileName);
