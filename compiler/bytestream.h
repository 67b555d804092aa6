#pragma once
// The byte stream over the compiled image: the settings block, then the
// image form of every emitted record, at contiguous addresses from the FLASH
// start.

// True while the record in hand is the last record of PicProg; false while
// the settings block is served.
bool plc_bsInLastRecord();

// True when the image, served from the FLASH start, ends at or below address
// 0xFFFFFFFF. An image that does not is neither compiled nor served: its
// addresses would run over to 0.
bool plc_bsImageFits();
