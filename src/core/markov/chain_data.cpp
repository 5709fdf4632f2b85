#include "core/markov/chain_data.h"

namespace wachtrix {

ChainKind ChainKindFromCode(int code) {
    return code == static_cast<int>(ChainKind::Discrete) ? ChainKind::Discrete
                                                         : ChainKind::Continuous;
}

int ChainKindCode(ChainKind kind) {
    return static_cast<int>(kind);
}

int CostColumnCount(ChainKind kind) {
    return kind == ChainKind::Discrete ? 1 : 2;
}

ChainData ChainData::Zero(int n, ChainKind kind) {
    ChainData data;
    data.Kind = kind;
    data.StateCount = n;
    data.TransitionMatrix.assign(n + 1, std::vector<double>(n + 1, 0.0));
    data.CostMatrix.assign(n + 1, std::vector<double>(CostColumnCount(kind) + 1, 0.0));
    return data;
}

}  // namespace wachtrix
