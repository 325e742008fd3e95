// Logs one line per level for every tag through the process-wide manager, so a test can see what the
// environment it was started with lets through.
#include "Logging/Logger.h"

int main()
{
    auto& logger = PyxCommon::Logger::GetInstance(false, true);
    for (const char* tag : {"READER", "PROTOCOL", "TRANSPORT", "COMMON", "NOSUCHTAG"})
    {
        logger.Trace(tag, "trace {0} line");
        logger.Debug(tag, "debug {} line");
        logger.Info(tag, "info line");
        logger.Warn(tag, "warn line");
        logger.Error(tag, "error line");
    }
    return 0;
}
