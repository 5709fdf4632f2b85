#include "core/markov/chain_structure.h"

#include <algorithm>

#include "core/markov/uniformisation.h"

namespace wachtrix {
namespace {

enum class Status { Unclassified, Transient, Recurrent };

// One classification. The reach relation is never closed transitively as a whole: each search
// follows a path of lowest-numbered successors and, when the path closes a cycle, merges the
// cycle into the state where it closed, which then stands for all of them.
class Classifier {
public:
    Classifier(const Matrix& p, int n)
        : n_(n),
          reach_(n + 1, std::vector<char>(n + 1, 0)),
          members_(n + 1, std::vector<char>(n + 1, 0)),
          unmerged_(n + 1, 1),
          status_(n + 1, Status::Unclassified),
          classOf_(n + 1, 0) {
        for (int i = 1; i <= n; ++i) {
            members_[i][i] = 1;
            for (int j = 1; j <= n; ++j)
                reach_[i][j] = p[i][j] > 0 ? 1 : 0;
        }
    }

    // classLimit 0: no limit; otherwise stop as soon as more subchains than that are found.
    ChainStructure Run(int classLimit) {
        limit_ = classLimit;
        for (int i = 1; i <= n_ && !LimitExceeded(); ++i) {
            if (status_[i] == Status::Unclassified && IsClosed(i)) RecordAbsorbing(i);
        }
        while (!LimitExceeded()) {
            const int start = LowestOpenState();
            if (start == 0) break;
            Search(start);
        }
        for (int i = 1; i <= n_; ++i) {
            if (classOf_[i] == 0) result_.transientStates.push_back(i);
        }
        result_.classOf = classOf_;
        return std::move(result_);
    }

private:
    bool LimitExceeded() const {
        return limit_ > 0 && static_cast<int>(result_.subchains.size()) > limit_;
    }

    int LowestOpenState() const {
        for (int i = 1; i <= n_; ++i) {
            if (unmerged_[i] && status_[i] == Status::Unclassified) return i;
        }
        return 0;
    }

    // Closed: reaches itself and no other state that still stands for itself or a group.
    bool IsClosed(int i) {
        if (!reach_[i][i]) return false;
        for (int j = 1; j <= n_; ++j) {
            if (j != i && unmerged_[j] && reach_[i][j]) return false;
        }
        status_[i] = Status::Recurrent;
        return true;
    }

    // The lowest-numbered other unmerged state reached, or the state itself when there is none.
    int Successor(int current) const {
        for (int j = 1; j <= n_; ++j) {
            if (j != current && unmerged_[j] && reach_[current][j]) return j;
        }
        return current;
    }

    void Search(int start) {
        std::vector<int> stack{start};
        int current = start;
        for (;;) {
            const int next = Successor(current);
            // A path into a classified state leaves no recurrent class behind it. (A recurrent
            // representative is never reached from outside its class; the test costs nothing.)
            if (status_[next] != Status::Unclassified) {
                MarkTransient(stack);
                return;
            }
            const auto onStack = std::find(stack.begin(), stack.end(), next);
            if (onStack == stack.end()) {
                stack.push_back(next);
                current = next;
                continue;
            }
            if (next == current && !reach_[current][current]) {
                // A state that reaches nothing at all (a zero row) ends every path through it:
                // none of them can be recurrent. A stochastic matrix has no such row.
                MarkTransient(stack);
                return;
            }
            // An entry merged before stands for nothing of its own any more: what it reached
            // and held went to the state it was merged into, which is merged here as well or
            // is `next` itself.
            for (auto it = onStack + 1; it != stack.end(); ++it)
                if (unmerged_[*it]) Merge(*it, next);
            if (IsClosed(next)) {
                RecordFound(next);
                return;
            }
            // The merged entries stay on the stack but never match again.
            current = next;
        }
    }

    void MarkTransient(const std::vector<int>& stack) {
        for (int s : stack)
            status_[s] = Status::Transient;
    }

    void Merge(int s, int into) {
        unmerged_[s] = 0;
        for (int m = 1; m <= n_; ++m) {
            if (members_[s][m]) members_[into][m] = 1;
            if (reach_[s][m]) reach_[into][m] = 1;
            if (reach_[m][s]) reach_[m][into] = 1;
        }
    }

    void RecordAbsorbing(int i) {
        result_.subchains.push_back({{i}, true});
        classOf_[i] = static_cast<int>(result_.subchains.size());
        for (int j = 1; j <= n_; ++j) {
            if (j != i && reach_[j][i]) status_[j] = Status::Transient;
        }
    }

    void RecordFound(int r) {
        for (int k = 1; k <= n_; ++k) {
            if (k != r && unmerged_[k] && status_[k] == Status::Unclassified && reach_[k][r]) {
                status_[k] = Status::Transient;
            }
        }
        RecurrentSubchain subchain;
        for (int m = 1; m <= n_; ++m) {
            if (members_[r][m]) subchain.states.push_back(m);
        }
        result_.subchains.push_back(std::move(subchain));
        for (int m : result_.subchains.back().states)
            classOf_[m] = static_cast<int>(result_.subchains.size());
    }

    int n_;
    int limit_ = 0;
    std::vector<std::vector<char>> reach_;    // 1-based
    std::vector<std::vector<char>> members_;  // members_[r][m]: m belongs to r's group
    std::vector<char> unmerged_;
    std::vector<Status> status_;
    std::vector<int> classOf_;
    ChainStructure result_;
};

std::string SubchainLine(int number, const RecurrentSubchain& subchain) {
    std::string line = "Recurrent subchain " + std::to_string(number) + ": ";
    if (subchain.absorbing) return line + std::to_string(subchain.states.front());
    for (int m : subchain.states)
        line += std::to_string(m) + " ";
    return line;
}

}  // namespace

ChainStructure ClassifyChain(const Matrix& p, int n) {
    return Classifier(p, n).Run(0);
}

bool IsUnichained(const Matrix& p, int n) {
    return Classifier(p, n).Run(1).subchains.size() <= 1;
}

ChainStructure ClassifyChain(const ChainData& chain) {
    const int n = chain.StateCount;
    return chain.Kind == ChainKind::Continuous
               ? ClassifyChain(Uniformise(chain.TransitionMatrix, n).w, n)
               : ClassifyChain(chain.TransitionMatrix, n);
}

std::vector<std::string> ChainStructureReport(const ChainData& chain) {
    if (!chain.DataLoaded) return {};
    const ChainStructure structure = ClassifyChain(chain);
    std::vector<std::string> lines{"=====================", "   CHAIN STRUCTURE",
                                   "=====================", " "};
    for (std::size_t k = 0; k < structure.subchains.size(); ++k)
        lines.push_back(SubchainLine(static_cast<int>(k + 1), structure.subchains[k]));
    lines.push_back(" ");
    lines.push_back(structure.subchains.size() == 1 ? "There is a single recurrent class."
                                                    : "There are multiple recurrent classes.");
    lines.push_back("");
    if (structure.transientStates.empty()) {
        lines.push_back("Transient states      : None   ");
    } else {
        std::string line =
            chain.Kind == ChainKind::Continuous ? "Transient states      : " : "Transient states: ";
        for (int s : structure.transientStates)
            line += std::to_string(s) + " ";
        lines.push_back(line);
    }
    return lines;
}

}  // namespace wachtrix
