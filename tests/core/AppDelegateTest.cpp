#include "core/AppDelegate.h"
#include "core/WebServices.h"

#include <cstdlib>

#include <gtest/gtest.h>

using namespace vantrel;

TEST(AppDelegate, OneSharedInstanceWithAnEmptyBatchAndPngRawAnswer)
{
    AppDelegate* fresh = AppDelegate::resetShared();
    EXPECT_EQ(AppDelegate::shareDelegate(), fresh);
    EXPECT_TRUE(fresh->arraySelectedImagesToProcess.isEmpty());
    EXPECT_EQ(fresh->rawConvertFormat(), "png");
    EXPECT_FALSE(fresh->isSubWindowOpened);
    EXPECT_FALSE(fresh->isProcessingInProgress);
    EXPECT_EQ(fresh->dictLanguage(), nullptr);
}

TEST(WebServices, DisabledUnlessAnHttpBaseUrlIsConfigured)
{
    unsetenv("VANTREL_TRACKER_URL");
    EXPECT_FALSE(WebServices::isEnabled(WebServices::Service::Tracker));
    EXPECT_FALSE(WebServices::endpoint(WebServices::Service::Tracker, "/x").isValid());

    setenv("VANTREL_TRACKER_URL", "file:///etc/passwd", 1);
    EXPECT_FALSE(WebServices::isEnabled(WebServices::Service::Tracker));

    setenv("VANTREL_TRACKER_URL", "http://127.0.0.1:8080/base/", 1);
    EXPECT_EQ(WebServices::endpoint(WebServices::Service::Tracker, WebServices::kRegisterInstallsPath).toString(),
              "http://127.0.0.1:8080/base/ormeltracker/OrmelParser.svc/registerAppInstalls");
    unsetenv("VANTREL_TRACKER_URL");
}
