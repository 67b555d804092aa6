// The stand-in's cfgmgr32.dll has no code of its own: cfgmgr32.def forwards
// each of its functions to the stand-in's hid.dll.
