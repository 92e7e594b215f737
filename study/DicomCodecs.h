#pragma once
// The toolkit's JPEG and RLE decoders, registered once for the whole process.

/// Registers the decoders in its constructor and cleans them up in its destructor. Make one,
/// before any thread decodes, and let it go only after every decoding thread has ended.
class DicomCodecs
{
public:
    DicomCodecs();
    ~DicomCodecs();
    DicomCodecs(const DicomCodecs&) = delete;
    DicomCodecs& operator=(const DicomCodecs&) = delete;
};

/// Sets the toolkit's log to report errors only: its warnings (one per odd element of an
/// untidy file) go nowhere a user sees. Call once at start-up.
void ReportToolkitErrorsOnly();
