#pragma once
// The byte stream over the compiled image: the settings block, then the
// image form of every emitted record, at contiguous addresses from the FLASH
// start.

// True while the record in hand is the last record of PicProg; false while
// the settings block is served.
bool plc_bsInLastRecord();
