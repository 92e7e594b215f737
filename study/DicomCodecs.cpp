#include "study/DicomCodecs.h"

// DCMTK
#include <dcmtk/dcmdata/dcrledrg.h>
#include <dcmtk/dcmjpeg/djdecode.h>
#include <dcmtk/oflog/oflog.h>

DicomCodecs::DicomCodecs()
{
    DJDecoderRegistration::registerCodecs();
    DcmRLEDecoderRegistration::registerCodecs();
}

DicomCodecs::~DicomCodecs()
{
    DcmRLEDecoderRegistration::cleanup();
    DJDecoderRegistration::cleanup();
}

void ReportToolkitErrorsOnly()
{
    OFLog::configure(OFLogger::ERROR_LOG_LEVEL);
}
