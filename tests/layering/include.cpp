// One layering check: compiled in a target of one layer with TERVOLIN_LAYERING_HEADER naming a header. A header of
// the same or a lower layer compiles; one of a layer above must not be found.
#include TERVOLIN_LAYERING_HEADER
