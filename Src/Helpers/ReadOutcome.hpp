// How a reader's load of a file ended: the callers report a damaged file and one that does
// not fit in memory in different words.
#ifndef VELMORA_READOUTCOME_HPP
#define VELMORA_READOUTCOME_HPP

enum class ReadOutcome {
	Read,         // the data was read to its end
	Damaged,      // the reading stopped at data it could not read
	OutOfMemory,  // the reading stopped because memory ran out
};

#endif
