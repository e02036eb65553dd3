// The names parts of the application meet through and the keys stored settings live under, each
// beside the text it must be, written out here letter for letter (misspellings included): a
// renamed constant would leave a poster unheard or orphan a user's stored settings.
#include <cstring>

#include <gtest/gtest.h>

#include "core/Catalogue.h"

namespace vantrel {
namespace {

TEST(CatalogueTest, EveryNotificationNameAndDefaultsKeyIsTheStoredText)
{
    const struct {
        const char* constant;
        const char* text;
    } rows[] = {
        // Notifications
        { kNotificationShowAlertWithType, "notificationShowAlertWithType" },
        { kNotificationChangeTabUI, "notificationchangeTabUI" },
        { kNotificationShowOverwriteAlert, "notificationShowOverwriteAlert" },
        { kNotificationHideOverwriteAlert, "notificationHideOverwriteAlert" },
        { kNotificationsDisbleView, "notificationsDisbleView" },
        { kNotificationsEnable, "notificationsEnable" },
        { kNotificationsDisbleCross, "notificationsDisbleCross" },
        { kNotificationsEnableCross, "notificationsEnableCross" },
        { kNotificationsPhotosModified, "notificationsPhotosModified" },
        { kNotificationUpdateFooterInfo, "notificationUpdateFooterInfo" },
        { kNotificationsHideLoading, "notificationsHideLoading" },
        { kNotificationsShowLoadingWithText, "notificationsShowLoadingWithText" },
        { kNotificationsProcessFinished, "notificationsProcessFinished" },
        { kNotificationsSaveasPredefinedSize, "notificationsSaveasPredefinedSize" },
        { kNotificationsProcessSkippedFiles, "notificationsProcessSkippedFiles" },
        { kNotificationsMakeKeyWindw, "notificationsMakeKeyWindw" },
        { kNotificationWindowResized, "notificationWindowResized" },
        { kNotificationWindowEndResizing, "notificationWindowEndResizing" },
        { kNotificationShowTips, "notificationShowTips" },
        { kNotificationShowFeedback, "notificationShowFeedback" },
        { kNotificationSubmitFeedback, "notificationSubmitFeedback" },
        { kShowRatePopup, "showRatePopup" },
        { kUpdatePhoneNumber, "updatePhoneNumber" },
        { kFileDragDropNotification, "FileDragDropNotification" },
        { kNetworkReachabilityChangedNotification, "kNetworkReachabilityChangedNotification" },
        { kNotificationSetupExifEditorView, "notificationSetupExifEditorView" },
        { kNotificationDisappearExifEditorView, "notificationDisappearExifEditorView" },
        // User-info keys
        { kUserInfoType, "type" },
        { kUserInfoTabIndex, "tabIndex" },
        { kUserInfoPaths, "paths" },
        { kUserInfoTextStr, "textStr" },
        // Defaults keys
        { kDefaultsIsFirstTime, "isFirstTime" },
        { kDefaultsProjectSession, "PROJECT_SESSION" },
        { kDefaultsSavedProjectSession, "SAVED_PROJECT_SESSION" },
        { kDefaultsRateMeCount, "RATE_ME_COUNT" },
        { kDefaultsAppVersion, "appVersion" },
        { kDefaultsTrackedForAppStore, "trackedForAppStore" },
        { kDefaultsPhoneNumber, "phonenumber" },
        { kDefaultsTipsIsDisable, "tips_isDisable" },
        { kDefaultsTipsAddPhotosView, "tips_addPhotosView" },
    };
    for (const auto& row : rows)
        EXPECT_STREQ(row.constant, row.text);
}

} // namespace
} // namespace vantrel
