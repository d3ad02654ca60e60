5mPxsuxly/rsG1a81uGqPA==
