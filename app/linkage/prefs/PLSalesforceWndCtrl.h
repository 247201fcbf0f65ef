// The upload-items sheet: one check box per card item that goes to the online service, kept in
// the preference "SalesForce connect check box items display". An administrator's
// "SalesforceItem.plist" beside the application fixes the items for every user and locks the boxes.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QList>
#include <QPointer>
#include <QPushButton>

#include <cstdint>
#include <utility>

class PLSalesforceWndCtrl {
public:
    static constexpr uint32_t kDefaultMask = 127973;
    static constexpr uint32_t kEnableMask = 98293;

    explicit PLSalesforceWndCtrl(QWidget* panel);
    ~PLSalesforceWndCtrl();

    QDialog* window() const { return m_window; }
    // Loads the mask, shows it and opens the sheet on the panel.
    void showWindow();
    void getAllCloudItemCodeFromPlist();
    void refreshSalesForceWindow();
    uint32_t getCloudItemsCodeFromUI(uint32_t mask) const;
    // Stores the mask when the visible sheet closes.
    void windowWillClose();
    uint32_t mask() const { return _iSalesForceSetting; }

private:
    void updateSalesForceCheckBox(uint32_t mask);
    void updateSalesForceCheckBoxEnable(uint32_t mask);
    void saveSalesforceSettingToPlistIfNeed();

    QPointer<QDialog> m_window;
    QList<std::pair<QCheckBox*, uint32_t>> m_boxes;
    QPushButton* _btnSetSFAccount = nullptr;
    QPushButton* _btnSetSalesForceDefault = nullptr;
    uint32_t _iSalesForceSetting = kDefaultMask;
    bool _bDefaultBtn = true;
};
