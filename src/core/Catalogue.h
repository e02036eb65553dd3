#pragma once

// The one list of the names that parts of the application meet through: notification names,
// their user-info keys, and the user-defaults keys. Spelled exactly as they travel, misspellings
// included (other code and stored settings rely on them).

namespace vantrel {

// Notifications
inline constexpr char kNotificationShowAlertWithType[] = "notificationShowAlertWithType";
/// A message of the application's own on the shared alert sheet, with its texts under
/// kUserInfoTitle and kUserInfoMessage.
inline constexpr char kNotificationShowMessageAlert[] = "notificationShowMessageAlert";
inline constexpr char kNotificationChangeTabUI[] = "notificationchangeTabUI";
inline constexpr char kNotificationShowOverwriteAlert[] = "notificationShowOverwriteAlert";
inline constexpr char kNotificationHideOverwriteAlert[] = "notificationHideOverwriteAlert";
inline constexpr char kNotificationsDisbleView[] = "notificationsDisbleView";
inline constexpr char kNotificationsEnable[] = "notificationsEnable";
inline constexpr char kNotificationsDisbleCross[] = "notificationsDisbleCross";
inline constexpr char kNotificationsEnableCross[] = "notificationsEnableCross";
inline constexpr char kNotificationsPhotosModified[] = "notificationsPhotosModified";
inline constexpr char kNotificationUpdateFooterInfo[] = "notificationUpdateFooterInfo";
inline constexpr char kNotificationsHideLoading[] = "notificationsHideLoading";
inline constexpr char kNotificationsShowLoadingWithText[] = "notificationsShowLoadingWithText";
inline constexpr char kNotificationsProcessFinished[] = "notificationsProcessFinished";
inline constexpr char kNotificationsSaveasPredefinedSize[] = "notificationsSaveasPredefinedSize";
inline constexpr char kNotificationsProcessSkippedFiles[] = "notificationsProcessSkippedFiles";
inline constexpr char kNotificationsMakeKeyWindw[] = "notificationsMakeKeyWindw";
inline constexpr char kNotificationWindowResized[] = "notificationWindowResized";
inline constexpr char kNotificationWindowEndResizing[] = "notificationWindowEndResizing";
inline constexpr char kNotificationShowTips[] = "notificationShowTips";
inline constexpr char kNotificationShowFeedback[] = "notificationShowFeedback";
inline constexpr char kNotificationSubmitFeedback[] = "notificationSubmitFeedback";
inline constexpr char kShowRatePopup[] = "showRatePopup";
inline constexpr char kUpdatePhoneNumber[] = "updatePhoneNumber";
inline constexpr char kFileDragDropNotification[] = "FileDragDropNotification";
inline constexpr char kNetworkReachabilityChangedNotification[] = "kNetworkReachabilityChangedNotification";
inline constexpr char kNotificationSetupExifEditorView[] = "notificationSetupExifEditorView";
inline constexpr char kNotificationDisappearExifEditorView[] = "notificationDisappearExifEditorView";

// User-info keys
inline constexpr char kUserInfoType[] = "type";
inline constexpr char kUserInfoTabIndex[] = "tabIndex";
inline constexpr char kUserInfoPaths[] = "paths";
inline constexpr char kUserInfoTextStr[] = "textStr";
inline constexpr char kUserInfoTitle[] = "title";
inline constexpr char kUserInfoMessage[] = "message";

// Defaults keys
inline constexpr char kDefaultsIsFirstTime[] = "isFirstTime";
inline constexpr char kDefaultsProjectSession[] = "PROJECT_SESSION";
inline constexpr char kDefaultsSavedProjectSession[] = "SAVED_PROJECT_SESSION";
inline constexpr char kDefaultsRateMeCount[] = "RATE_ME_COUNT";
inline constexpr char kDefaultsAppVersion[] = "appVersion";
inline constexpr char kDefaultsTrackedForAppStore[] = "trackedForAppStore";
inline constexpr char kDefaultsPhoneNumber[] = "phonenumber";
inline constexpr char kDefaultsTipsIsDisable[] = "tips_isDisable";
inline constexpr char kDefaultsTipsAddPhotosView[] = "tips_addPhotosView";

} // namespace vantrel
