// The captions, range labels and visibility of the queue tabs, kept in step with the choices.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "core/queue/dg1.h"
#include "core/queue/finqueue.h"
#include "core/queue/gmc.h"
#include "core/queue/machine.h"
#include "core/queue/mg1.h"
#include "core/queue/staffing.h"
#include "ui/common/radio_group.h"
#include "ui/queue/label_rules.h"
#include "ui/queue/limit_texts.h"
#include "ui/queue/queue_main_form.h"

namespace wachtrix::ui {
namespace {

// The CA2 field of G/M/c arrivals. Deterministic arrivals have CA2 = 0; what the user typed is
// kept for the way back.
void ArrivalsChange(const ParameterField& ca2, int item, QString& saved) {
    QLineEdit* edit = ca2.edit;
    if (item == 0) {
        if (edit->isEnabled()) {
            ca2.range->setText("(deterministic)");
            saved = edit->text();
            edit->setText("0");
            edit->setEnabled(false);
        }
        return;
    }
    ca2.range->setText(Label(item == 1 ? kGmcErlangCa2 : kGmcCoxianCa2));
    if (!edit->isEnabled()) {
        edit->setText(saved);
        edit->setEnabled(true);
    }
}

}  // namespace

void TQueueMainForm::connectRules() {
    const auto on = [this](RadioGroup* group, void (TQueueMainForm::*rule)()) {
        connect(group, &RadioGroup::itemIndexChanged, this, rule);
    };
    on(mg1_.service, &TQueueMainForm::MG1_ServiceTypeChange);
    on(mg1_.output, &TQueueMainForm::MG1_OutputChange);
    on(dg1_.service, &TQueueMainForm::DG1_ServiceTypeChange);
    on(dg1_.coxianOutput, &TQueueMainForm::DG1_ValueGroupsUpdate);
    on(dg1_.pureErlangOutput, &TQueueMainForm::DG1_ValueGroupsUpdate);
    on(mmc_.output, &TQueueMainForm::MMC_OutputChange);
    on(mdc_.output, &TQueueMainForm::MDC_OutputChange);
    on(dmc_.output, &TQueueMainForm::DMC_OutputChange);
    on(gmc_.output, &TQueueMainForm::GMC_OutputChange);
    on(gmc_.arrivals, &TQueueMainForm::GMC_ArrivalsChange);
    on(finCap_.type, &TQueueMainForm::FinCap_QueueTypeChange);
    on(finCap_.output1, &TQueueMainForm::FinCap_ValueGroupsUpdate);
    on(finCap_.output2, &TQueueMainForm::FinCap_ValueGroupsUpdate);
    on(mmcn_.xAxis, &TQueueMainForm::MMCN_XAxisChange);
    on(mmcn_.yAxis, &TQueueMainForm::MMCN_YAxisChange);
    on(finSrc_.service, &TQueueMainForm::FinSrc_ServiceTypeChange);
    on(finSrc_.output, &TQueueMainForm::FinSrc_OutputChange);
    on(mm1_.output, &TQueueMainForm::MM1_OutputChange);
    on(staffing_.model, &TQueueMainForm::Staffing_ModelChange);
    on(staffing_.arrivals, &TQueueMainForm::Staffing_ArrivalsChange);
    on(staffing_.target, &TQueueMainForm::Staffing_TargetChange);

    // These edits filter first and then update the labels that depend on them.
    connect(finCap_.c.edit, &QLineEdit::textChanged, this, &TQueueMainForm::FinCap_C_editChange);
    connect(finCap_.n.edit, &QLineEdit::textChanged, this, &TQueueMainForm::FinCap_N_editChange);
    connect(finSrc_.m.edit, &QLineEdit::textChanged, this, &TQueueMainForm::FinSrc_N_EditChange);
    connect(mm1_.rho.edit, &QLineEdit::textChanged, this, &TQueueMainForm::MM1_Rho_editChange);

    // Every group starts on its first item; show what that item needs.
    MG1_OutputChange();
    DG1_ValueGroupsUpdate();
    MMC_OutputChange();
    MDC_OutputChange();
    DMC_OutputChange();
    GMC_OutputChange();
    FinCap_ValueGroupsUpdate();
    MMCN_XAxisChange();
    MMCN_YAxisChange();
    FinSrc_OutputChange();
    MM1_OutputChange();
    Staffing_ModelChange();
    Staffing_TargetChange();
}

void TQueueMainForm::MG1_ServiceTypeChange() {
    mg1_.cs2.range->setText(
        Label(mg1_.service->itemIndex() == 0 ? kMg1ErlangianCs2 : kMg1CoxianCs2));
}

void TQueueMainForm::MG1_OutputChange() {
    const int item = mg1_.output->itemIndex();
    mg1_.values.show(item == 1, item == 3, item == 2);
}

void TQueueMainForm::DG1_ServiceTypeChange() {
    const int type = dg1_.service->itemIndex();
    const bool pureErlang = type == 1;
    dg1_.cs2.label->setText(Dg1Cs2Caption(pureErlang));
    dg1_.cs2.range->setText(Label(type == kDg1Erlangian ? kDg1ErlangianCs2
                                  : pureErlang          ? kDg1ErlangPhases
                                                        : kDg1CoxianCs2));
    dg1_.coxianOutput->setVisible(!pureErlang);
    dg1_.pureErlangOutput->setVisible(pureErlang);
    DG1_ValueGroupsUpdate();
}

void TQueueMainForm::DG1_ValueGroupsUpdate() {
    if (dg1_.service->itemIndex() == 1) {
        const int item = dg1_.pureErlangOutput->itemIndex();
        dg1_.values.show(item == 1, item == 3 || item == 4, item == 2);
    } else {
        const int item = dg1_.coxianOutput->itemIndex();
        dg1_.values.show(item == 1, false, item == 2);
    }
}

void TQueueMainForm::MMC_OutputChange() {
    const int item = mmc_.output->itemIndex();
    mmc_.values.show(item == 1, item == 3, item == 2);
}

void TQueueMainForm::MDC_OutputChange() {
    const int item = mdc_.output->itemIndex();
    mdc_.values.show(item == 1, item == 3, item == 2);
}

void TQueueMainForm::DMC_OutputChange() {
    const int item = dmc_.output->itemIndex();
    dmc_.values.show(item == 1, item == 3 || item == 4, item == 2);
    dmc_.graphs->setVisible(item == 5);
}

void TQueueMainForm::GMC_OutputChange() {
    const int item = gmc_.output->itemIndex();
    gmc_.values.show(item == 1, false, item == 2);
}

void TQueueMainForm::GMC_ArrivalsChange() {
    ArrivalsChange(gmc_.ca2, gmc_.arrivals->itemIndex(), gmc_.savedCA2);
}

void TQueueMainForm::FinCap_QueueTypeChange() {
    const int type = finCap_.type->itemIndex();
    const ModelLimits& limits = FinCapLimitsOf(FinCapTypeOfItem(type));
    finCap_.c.range->setText(Label(limits.fields[0]));
    finCap_.n.range->setText(Label(limits.fields[2]));
    finCap_.output1->setVisible(type != 2);
    finCap_.output2->setVisible(type == 2);
    FinCap_ValueGroupsUpdate();
}

void TQueueMainForm::FinCap_ValueGroupsUpdate() {
    if (finCap_.type->itemIndex() == 2) {
        const int item = finCap_.output2->itemIndex();
        finCap_.values.show(item == 1, item == 2 || item == 3, false);
    } else {
        const int item = finCap_.output1->itemIndex();
        finCap_.values.show(item == 1, item == 2, false);
    }
    if (!finCap_.values.n->isHidden()) FinCap_NValuesCaptionUpdate();
}

void TQueueMainForm::FinCap_NValuesCaptionUpdate() {
    finCap_.values.n->setTitle(NValuesCaption(finCap_.c.edit->text(), finCap_.n.edit->text()));
}

void TQueueMainForm::FinCap_C_editChange() {
    IntEditChange(finCap_.c.edit);
    if (!finCap_.values.n->isHidden()) FinCap_NValuesCaptionUpdate();
    if (finCap_.type->itemIndex() == 2) finCap_.n.range->setText(Label(kFinCapPlacesDM));
}

void TQueueMainForm::FinCap_N_editChange() {
    IntEditChange(finCap_.n.edit);
    if (!finCap_.values.n->isHidden()) FinCap_NValuesCaptionUpdate();
}

void TQueueMainForm::MMCN_XAxisChange() {
    const bool varyC = mmcn_.xAxis->itemIndex() == 0;
    mmcn_.varyC->setVisible(varyC);
    mmcn_.varyN->setVisible(!varyC);
}

void TQueueMainForm::MMCN_YAxisChange() {
    mmcn_.t.setVisible(mmcn_.yAxis->itemIndex() == 1);
}

void TQueueMainForm::FinSrc_ServiceTypeChange() {
    finSrc_.c.range->setText(
        Label(finSrc_.service->itemIndex() == 0 ? kFinSrcServersExp : kFinSrcServersDet));
}

void TQueueMainForm::FinSrc_OutputChange() {
    const int item = finSrc_.output->itemIndex();
    finSrc_.values.show(item == 1, item == 2 || item == 3, false);
    finSrc_.graphs->setVisible(item == 4);
}

void TQueueMainForm::FinSrc_N_EditChange() {
    IntEditChange(finSrc_.m.edit);
    finSrc_.values.n->setTitle(MachineNValuesCaption(finSrc_.m.edit->text()));
}

void TQueueMainForm::MM1_OutputChange() {
    const int item = mm1_.output->itemIndex();
    // The end state j belongs to the table and to both probability graphs, the cumulative one
    // (item 2) included, since all three read it.
    mm1_.end.setVisible(item <= 2);
    mm1_.values.t->setVisible(item == 0);
    mm1_.t.setVisible(item != 0);
}

void TQueueMainForm::MM1_Rho_editChange() {
    RealEditChange(mm1_.rho.edit);
    mm1_.initial.range->setText(InitialStateRangeLabel(mm1_.rho.edit->text()));
}

void TQueueMainForm::Staffing_ModelChange() {
    const bool gmc = staffing_.model->itemIndex() == static_cast<int>(StaffingModel::GMC);
    staffing_.arrivals->setVisible(gmc);
    staffing_.ca2.setVisible(gmc);
}

void TQueueMainForm::Staffing_ArrivalsChange() {
    ArrivalsChange(staffing_.ca2, staffing_.arrivals->itemIndex(), staffing_.savedCA2);
}

void TQueueMainForm::Staffing_TargetChange() {
    const auto target = static_cast<StaffingTarget>(staffing_.target->itemIndex());
    staffing_.t.setVisible(target == StaffingTarget::WaitingTail);
    staffing_.alpha.setVisible(target != StaffingTarget::MeanWait);
    staffing_.w.setVisible(target == StaffingTarget::MeanWait);
}

}  // namespace wachtrix::ui
